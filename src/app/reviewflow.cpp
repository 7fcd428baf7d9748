// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reviewflow.h"

#include "app/archivesearch.h"
#include "app/commentdialog.h"
#include "app/passworddialog.h"
#include "app/recordinglist.h"
#include "app/reviewdialog.h"
#include "app/windowaudit.h"
#include "core/settinginfo.h"
#include "export/reviewtexts.h"
#include "recording/recordingaudit.h"
#include "views/datashowwidget.h"

#include <QPointer>

ReviewFlow::ReviewFlow(QWidget *window, DataShowWidget *view, RecordingList *list,
                       ArchiveKeeper *keeper, WindowAudit *audit)
    : QObject(window), window(window), view(view), list(list), keeper(keeper), audit(audit)
{
    connect(view, &DataShowWidget::noteTyped, this, &ReviewFlow::addNote);
    connect(view, &DataShowWidget::commentRequested, this, &ReviewFlow::addComment);
    connect(view, &DataShowWidget::signRequested, this, &ReviewFlow::startSigning);
    connect(keeper, &ArchiveKeeper::auditHeadChanged, list, &RecordingList::showReview);
}

bool ReviewFlow::canReview()
{
    const LoadedRecording &shown = view->loaded();
    if (view->isShowing() && !shown.sha256.isEmpty() && shown.review.sha256 == shown.sha256 &&
        list->archiveSearch())
        return true;
    emit sendMessage(tr("此记录不在记录档案库中，无法审核"));
    return false;
}

void ReviewFlow::addNote(const QString &note)
{
    if (canReview())
        audit->commented(recordingaudit::note(view->loaded(), note));
}

void ReviewFlow::addComment()
{
    if (!canReview())
        return;
    ArchiveSearch *search = list->archiveSearch();
    CommentDialog dialog(view->analysis().excursions, search->reviewChoices(ReviewChoice::Reason),
                         search->reviewChoices(ReviewChoice::Action), window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    audit->commented(recordingaudit::comment(view->loaded(), dialog.excursion(), dialog.reason(),
                                             dialog.action()));
}

void ReviewFlow::startSigning()
{
    if (signing || !canReview())
        return;
    ArchiveSearch *search = list->archiveSearch();
    const QString signer = search->signerText();
    const LoadedRecording &shown = view->loaded();
    ReviewDialog dialog(view->recordingBaseName(), shown.review, search->signatureMeanings(),
                        search->actsAsReader(), signer, window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ArchiveKeeper::SignRequest request;
    request.sha256 = shown.sha256;
    request.serial = shown.recording.sn;
    request.meaning = dialog.meaning();
    request.comment = dialog.comment();
    askPassword(request, signer, QString());
}

void ReviewFlow::askPassword(const ArchiveKeeper::SignRequest &request, const QString &signer,
                             const QString &error)
{
    PasswordDialog dialog(signer, keeper->location().isTeamArchive(), window);
    dialog.setError(error);
    if (dialog.exec() != QDialog::Accepted)
        return;
    signing = true;
    QPointer<ReviewFlow> alive(this);
    keeper->sign(request, dialog.takePassword(),
                 [alive, request, signer](const ReviewSigner::Outcome &outcome) {
                     if (alive)
                         alive->signingEnded(request, signer, outcome);
                 });
}

void ReviewFlow::signingEnded(const ArchiveKeeper::SignRequest &request, const QString &signer,
                              const ReviewSigner::Outcome &outcome)
{
    signing = false;
    switch (outcome.kind) {
    case ReviewSigner::Outcome::Signed:
        // The list's marks follow the new signature.
        list->loadFileButtons();
        emit sendMessage(
            tr("已签署：%1").arg(ReviewTexts::meaningText(outcome.signature, isEnglish())));
        break;
    case ReviewSigner::Outcome::WrongPassword:
        askPassword(request, signer,
                    tr("密码错误。再错 %1 次，签署将锁定 %2 分钟。")
                        .arg(outcome.triesLeft)
                        .arg(review::lockSeconds / 60));
        break;
    case ReviewSigner::Outcome::Locked:
        emit sendMessage(
            tr("密码错误次数过多，签署已锁定至 %1")
                .arg(outcome.lockedUntil.toLocalTime().toString(QStringLiteral("HH:mm:ss"))));
        break;
    case ReviewSigner::Outcome::Refused:
        emit sendMessage(tr("无法签署：%1").arg(outcome.text));
        break;
    case ReviewSigner::Outcome::Failed:
        emit sendMessage(tr("签署失败：%1").arg(outcome.text));
        break;
    }
}
