// SPDX-License-Identifier: GPL-3.0-or-later
// CommentDialog: a reason and a corrective action for the shown recording or one of its
// excursions.
#pragma once

#include "archive/reviewsettings.h"
#include "recording/recordinganalysis.h"
#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// What the comment explains is chosen first: the whole recording or one of
// its excursions (by start, side and length). Reason and action are chosen
// from the archive's lists, in the interface language, or typed; "确定"
// stays disabled while the reason is blank.
class CommentDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    CommentDialog(const QVector<Excursion> &excursions, const QVector<ReviewChoice> &reasons,
                  const QVector<ReviewChoice> &actions, QWidget *parent = nullptr);

    // The start of the excursion explained, as the trail writes it; empty
    // for the whole recording.
    QString excursion() const;
    QString reason() const;
    QString action() const;

    QComboBox *subjectBox() const { return subject; }
    QComboBox *reasonBox() const { return reasonChoice; }
    QComboBox *actionBox() const { return actionChoice; }
    QPushButton *okButton() const { return ok; }

    // The text a choice is shown and kept as in the interface language.
    static QString choiceText(const ReviewChoice &choice);

private:
    QComboBox *subject;
    QComboBox *reasonChoice;
    QComboBox *actionChoice;
    QPushButton *ok;
};
