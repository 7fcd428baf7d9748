// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reviewdialog.h"

#include "app/dialogframe.h"
#include "core/settinginfo.h"
#include "export/reviewtexts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
QString titleOf(const SignatureMeaning &meaning)
{
    ReviewSignature named;
    named.meaning = meaning.meaning;
    named.title = meaning.title;
    named.titleZh = meaning.titleZh;
    return ReviewTexts::meaningText(named, isEnglish());
}
} // namespace

ReviewDialog::ReviewDialog(const QString &recordingName, const RecordingReview &review,
                           const QVector<SignatureMeaning> &meanings, bool reader,
                           const QString &signer, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent), current(review)
{
    setObjectName(QStringLiteral("ReviewDialog"));
    setWindowTitle(tr("签署记录"));
    QWidget *widget = dialogframe::frame(this);
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(24, 22, 24, 22);
    column->setSpacing(14);
    column->addWidget(dialogframe::title(widget, tr("签署记录")));

    auto *form = new QFormLayout;
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(10);
    form->addRow(tr("记录"), new QLabel(recordingName, widget));
    auto *fingerprint = new QLabel(review.sha256.left(16) + QStringLiteral("…"), widget);
    fingerprint->setToolTip(review.sha256);
    form->addRow(tr("文件指纹"), fingerprint);
    form->addRow(tr("签署人"), new QLabel(signer, widget));
    meaningChoice = new QComboBox(widget);
    meaningChoice->setObjectName(QStringLiteral("signatureMeaning"));
    for (const SignatureMeaning &meaning : meanings) {
        if (meaning.final)
            finals << meaning.meaning;
        if (!reader || meaning.readerMaySign)
            meaningChoice->addItem(titleOf(meaning), meaning.meaning);
    }
    if (finals.contains(review.standingMeaning()))
        meaningChoice->addItem(tr("撤销"), review::revokeMeaning);
    meaningChoice->setMinimumWidth(320);
    form->addRow(tr("含义"), meaningChoice);
    commentLine = new QLineEdit(widget);
    commentLine->setObjectName(QStringLiteral("signatureComment"));
    commentLine->setPlaceholderText(tr("说明（撤销时必填）"));
    form->addRow(tr("说明"), commentLine);
    column->addLayout(form);

    refusal = new QLabel(widget);
    refusal->setObjectName(QStringLiteral("signatureRefusal"));
    refusal->setWordWrap(true);
    refusal->setStyleSheet(QStringLiteral("color: rgb(198, 40, 40);"));
    column->addWidget(refusal);
    auto *manifest = new QLabel(
        tr("签名以您的姓名、时间和含义记入审计追踪，并与此记录的指纹绑定。签署时须再次输入密码。"),
        widget);
    manifest->setWordWrap(true);
    manifest->setStyleSheet(QStringLiteral("color: #78787C; font-size: 13px;"));
    column->addWidget(manifest);

    ok = dialogframe::addButtons(this, widget, column);
    connect(meaningChoice, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ReviewDialog::check);
    connect(commentLine, &QLineEdit::textChanged, this, &ReviewDialog::check);
    check();
}

QString ReviewDialog::meaning() const
{
    return meaningChoice->currentData().toString();
}

QString ReviewDialog::comment() const
{
    return commentLine->text().trimmed();
}

QString ReviewDialog::standingTitle() const
{
    const QString standing = current.standingMeaning();
    const auto newest = std::find_if(
        current.signatures.crbegin(), current.signatures.crend(),
        [&](const ReviewSignature &signature) { return signature.meaning == standing; });
    return newest == current.signatures.crend() ? standing
                                                : ReviewTexts::meaningText(*newest, isEnglish());
}

void ReviewDialog::check()
{
    QString why;
    if (meaningChoice->count() == 0)
        why = tr("您的角色不能签署此记录档案库中的记录。");
    else if (meaning() == review::revokeMeaning && comment().isEmpty())
        why = tr("撤销须在“说明”中写明原因。");
    else if (!review::refusal(current, meaning(), finals).isEmpty())
        why = tr("此记录已签署为“%1”：须先撤销该签名，才能签署其他含义。").arg(standingTitle());
    refusal->setText(why);
    refusal->setVisible(!why.isEmpty());
    ok->setEnabled(why.isEmpty());
}
