// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commentdialog.h"

#include "app/dialogframe.h"
#include "core/settinginfo.h"
#include "core/utils.h"
#include "recording/recordingaudit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QComboBox *choiceBox(QWidget *parent, const char *name, const QVector<ReviewChoice> &choices)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const ReviewChoice &choice : choices)
        box->addItem(CommentDialog::choiceText(choice));
    box->setCurrentIndex(-1);
    box->setMinimumWidth(320);
    return box;
}
} // namespace

CommentDialog::CommentDialog(const QVector<Excursion> &excursions,
                             const QVector<ReviewChoice> &reasons,
                             const QVector<ReviewChoice> &actions, QWidget *parent)
    : NativeWindowTemplate<QDialog>(parent)
{
    setObjectName(QStringLiteral("CommentDialog"));
    setWindowTitle(tr("添加备注"));
    QWidget *widget = dialogframe::frame(this);
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(24, 22, 24, 22);
    column->setSpacing(14);
    column->addWidget(dialogframe::title(widget, tr("添加备注")));
    auto *form = new QFormLayout;
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(10);

    subject = new QComboBox(widget);
    subject->setObjectName(QStringLiteral("commentSubject"));
    subject->addItem(tr("整个记录"), QString());
    for (const Excursion &excursion : excursions)
        subject->addItem(
            tr("%1 起 %2，%3")
                .arg(QDateTime::fromSecsSinceEpoch(excursion.start, Qt::UTC)
                         .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")),
                     excursion.side == Excursion::Above ? tr("高于上限") : tr("低于下限"),
                     durationText(excursion.durationSeconds)),
            recordingaudit::sampleTimeText(excursion.start));
    form->addRow(tr("对象"), subject);
    reasonChoice = choiceBox(widget, "commentReason", reasons);
    form->addRow(tr("原因"), reasonChoice);
    actionChoice = choiceBox(widget, "commentAction", actions);
    form->addRow(tr("纠正措施"), actionChoice);
    column->addLayout(form);
    auto *note = new QLabel(tr("备注存入审计追踪，不能修改或删除，只能由新的备注补充。"), widget);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #78787C; font-size: 13px;"));
    column->addWidget(note);

    ok = dialogframe::addButtons(this, widget, column);
    ok->setEnabled(false);
    connect(reasonChoice, &QComboBox::editTextChanged, this,
            [this] { ok->setEnabled(!reason().isEmpty()); });
    reasonChoice->setFocus();
}

QString CommentDialog::choiceText(const ReviewChoice &choice)
{
    const QString own = isEnglish() ? choice.text : choice.textZh;
    return own.isEmpty() ? (isEnglish() ? choice.textZh : choice.text) : own;
}

QString CommentDialog::excursion() const
{
    return subject->currentData().toString();
}

QString CommentDialog::reason() const
{
    return reasonChoice->currentText().trimmed();
}

QString CommentDialog::action() const
{
    return actionChoice->currentText().trimmed();
}
