// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewDialog: the meaning and comment of an electronic signature of the shown recording.
#pragma once

#include "archive/reviewsettings.h"
#include "recording/recordingreview.h"
#include "widgets/nativewindowtemplate.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Names the recording, its fingerprint and who signs, then offers the
// meanings the signer may sign: a reader only those the archive's owner
// allowed readers, "撤销" only while an approval or rejection stands. A
// meaning that would overrule the one standing, or a revoke without its
// reason, is explained and cannot be confirmed.
class ReviewDialog : public NativeWindowTemplate<QDialog>
{
    Q_OBJECT
public:
    ReviewDialog(const QString &recordingName, const RecordingReview &review,
                 const QVector<SignatureMeaning> &meanings, bool reader, const QString &signer,
                 QWidget *parent = nullptr);

    QString meaning() const;
    QString comment() const;

    QComboBox *meaningBox() const { return meaningChoice; }
    QLineEdit *commentEdit() const { return commentLine; }
    QLabel *refusalLabel() const { return refusal; }
    QPushButton *okButton() const { return ok; }

private:
    void check();
    // How the meaning standing now is printed.
    QString standingTitle() const;

    RecordingReview current;
    QStringList finals;
    QComboBox *meaningChoice;
    QLineEdit *commentLine;
    QLabel *refusal;
    QPushButton *ok;
};
