// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewFlow: the window's comments, notes and electronic signatures of the shown recording.
#pragma once

#include "app/archivekeeper.h"

#include <QObject>

class DataShowWidget;
class RecordingList;
class WindowAudit;

// A note typed on the summary page and a comment from CommentDialog become
// `comment` entries of the trail through the window's audit; a signature is
// asked with ReviewDialog, its password with PasswordDialog, and made by the
// archive keeper on its own thread. Whenever the trail's head moves, the
// shown recording's review is read again, so what was added appears.
class ReviewFlow : public QObject
{
    Q_OBJECT
public:
    ReviewFlow(QWidget *window, DataShowWidget *view, RecordingList *list, ArchiveKeeper *keeper,
               WindowAudit *audit);

signals:
    void sendMessage(const QString &text);

private:
    void addNote(const QString &note);
    void addComment();
    void startSigning();
    // Asks the password (again after `error`) and signs with it.
    void askPassword(const ArchiveKeeper::SignRequest &request, const QString &signer,
                     const QString &error);
    void signingEnded(const ArchiveKeeper::SignRequest &request, const QString &signer,
                      const ReviewSigner::Outcome &outcome);
    // The shown recording can take a review: the archive read its review.
    bool canReview();

    QWidget *window;
    DataShowWidget *view;
    RecordingList *list;
    ArchiveKeeper *keeper;
    WindowAudit *audit;
    // A signature waits for the keeper: another is not asked meanwhile.
    bool signing = false;
};
