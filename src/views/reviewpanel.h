// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewPanel: the summary page's review section, the signatures and comments of the shown
// recording with the buttons that add to them.
#pragma once

#include "recording/recordingreview.h"

#include <QWidget>

class QLabel;
class QPushButton;

// Signatures first, in the trail's order, each with the printed name, the
// login, the local time with its UTC offset, the meaning and its comment;
// then the comments, each with what it explains, its author and time. The
// buttons stay disabled while no recording of the archive is shown.
class ReviewPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ReviewPanel(QWidget *parent = nullptr);

    // Shows `review`; `usable` when the archive holds the shown recording and
    // can take comments and signatures.
    void showReview(const RecordingReview &review, bool usable);
    void clear();

    QPushButton *commentButton() const { return comment; }
    QPushButton *signButton() const { return sign; }
    QLabel *statusLabel() const { return status; }
    QLabel *entriesLabel() const { return entries; }

    // The rich text of the signatures and comments, in the interface language.
    static QString entriesText(const RecordingReview &review);

signals:
    void commentRequested();
    void signRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QLabel *status;
    QLabel *entries;
    QPushButton *comment;
    QPushButton *sign;
    RecordingReview shown;
    bool isUsable = false;
};
