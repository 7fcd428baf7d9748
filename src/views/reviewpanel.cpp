// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewPanel: the summary page's review section.
#include "views/reviewpanel.h"

#include "core/settinginfo.h"
#include "export/reviewtexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

ReviewPanel::ReviewPanel(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(8);
    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("reviewStatus"));
    status->setStyleSheet(QStringLiteral("font-weight: 500;"));
    comment = new QPushButton(this);
    comment->setObjectName(QStringLiteral("reviewComment"));
    sign = new QPushButton(this);
    sign->setObjectName(QStringLiteral("reviewSign"));
    row->addWidget(status, 1);
    row->addWidget(comment);
    row->addWidget(sign);
    column->addLayout(row);
    entries = new QLabel(this);
    entries->setObjectName(QStringLiteral("reviewEntries"));
    entries->setWordWrap(true);
    entries->setTextFormat(Qt::RichText);
    entries->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The page must not grow wider for a long comment.
    entries->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    column->addWidget(entries);
    connect(comment, &QPushButton::clicked, this, &ReviewPanel::commentRequested);
    connect(sign, &QPushButton::clicked, this, &ReviewPanel::signRequested);
    clear();
}

void ReviewPanel::showReview(const RecordingReview &review, bool usable)
{
    shown = review;
    isUsable = usable;
    retranslate();
}

void ReviewPanel::clear()
{
    showReview(RecordingReview(), false);
}

QString ReviewPanel::entriesText(const RecordingReview &review)
{
    const bool english = isEnglish();
    QStringList lines;
    for (const ReviewSignature &signature : review.signatures) {
        QString line =
            tr("<b>%1</b>　%2（%3）　%4")
                .arg(ReviewTexts::meaningText(signature, english).toHtmlEscaped(),
                     signature.printedName.toHtmlEscaped(), signature.login.toHtmlEscaped(),
                     ReviewTexts::timeText(signature.time));
        if (!signature.comment.isEmpty())
            line += QStringLiteral("<br>&nbsp;&nbsp;") + signature.comment.toHtmlEscaped();
        lines << line;
    }
    for (const ReviewComment &comment : review.comments) {
        // A note's subject already says it is one.
        const QString text =
            ReviewTexts::isNote(comment) ? comment.note : ReviewTexts::commentText(comment);
        lines << tr("<b>%1</b>　%2<br>&nbsp;&nbsp;<span style=\"color:#78787C\">%3，%4</span>")
                     .arg(ReviewTexts::subjectText(comment).toHtmlEscaped(), text.toHtmlEscaped(),
                          comment.user.toHtmlEscaped(), ReviewTexts::timeText(comment.time));
    }
    // A little space between the entries, so each reads as one.
    QString html;
    for (const QString &line : qAsConst(lines))
        html += QStringLiteral("<p style=\"margin-bottom:6px\">") + line + QStringLiteral("</p>");
    return html;
}

void ReviewPanel::retranslate()
{
    comment->setText(tr("添加备注"));
    sign->setText(tr("签署"));
    comment->setEnabled(isUsable);
    sign->setEnabled(isUsable);
    const QString standing = shown.standingMeaning();
    if (!isUsable && shown.isEmpty()) {
        status->setText(tr("不在记录档案库中，无法审核"));
    } else if (standing.isEmpty()) {
        status->setText(shown.signatures.isEmpty() ? tr("未审核") : tr("签名已撤销，待重新签署"));
    } else {
        const auto newest = std::find_if(
            shown.signatures.crbegin(), shown.signatures.crend(),
            [&](const ReviewSignature &signature) { return signature.meaning == standing; });
        status->setText(tr("已签署：%1").arg(ReviewTexts::meaningText(*newest, isEnglish())));
    }
    entries->setText(entriesText(shown));
    entries->setVisible(!shown.isEmpty());
}

void ReviewPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
