// SPDX-License-Identifier: GPL-3.0-or-later
// AuditTrailFilterBar: the audit trail window's filters by kind, user, serial and date.
#include "app/audittrailfilterbar.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace
{

// The first day a date filter offers; shown as "any", it sets no limit.
const QDate noLimit(2000, 1, 1);

QDateEdit *makeDateEdit(QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setMinimumDate(noLimit);
    edit->setDate(noLimit);
    return edit;
}

QDate localDate(const AuditEntry &entry)
{
    return QDateTime::fromString(entry.time, Qt::ISODateWithMs).toLocalTime().date();
}

} // namespace

AuditTrailFilterBar::AuditTrailFilterBar(QWidget *parent) : QWidget(parent)
{
    kindLabel = new QLabel(this);
    kind = new QComboBox(this);
    kind->setObjectName(QStringLiteral("kindFilter"));
    // Room for the longest kinds ("preset-rename-failed") whichever the trail holds.
    kind->setMinimumContentsLength(18);
    kind->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    kind->addItem(QString());
    user = new QLineEdit(this);
    user->setObjectName(QStringLiteral("userFilter"));
    user->setClearButtonEnabled(true);
    serial = new QLineEdit(this);
    serial->setObjectName(QStringLiteral("serialFilter"));
    serial->setClearButtonEnabled(true);
    fromLabel = new QLabel(this);
    from = makeDateEdit(this);
    from->setObjectName(QStringLiteral("fromFilter"));
    toLabel = new QLabel(this);
    to = makeDateEdit(this);
    to->setObjectName(QStringLiteral("toFilter"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(kindLabel);
    row->addWidget(kind);
    row->addWidget(user, 1);
    row->addWidget(serial, 1);
    row->addWidget(fromLabel);
    row->addWidget(from);
    row->addWidget(toLabel);
    row->addWidget(to);
    retranslate();

    connect(kind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &AuditTrailFilterBar::changed);
    connect(user, &QLineEdit::textChanged, this, &AuditTrailFilterBar::changed);
    connect(serial, &QLineEdit::textChanged, this, &AuditTrailFilterBar::changed);
    connect(from, &QDateEdit::dateChanged, this, &AuditTrailFilterBar::changed);
    connect(to, &QDateEdit::dateChanged, this, &AuditTrailFilterBar::changed);
}

void AuditTrailFilterBar::setKinds(QStringList kinds)
{
    kinds.sort();
    const QString chosen = kind->currentIndex() > 0 ? kind->currentText() : QString();
    const QSignalBlocker quiet(kind);
    while (kind->count() > 1)
        kind->removeItem(1);
    kind->addItems(kinds);
    kind->setCurrentIndex(std::max(0, kind->findText(chosen)));
}

bool AuditTrailFilterBar::matches(const AuditEntry &entry) const
{
    if (kind->currentIndex() > 0 && entry.kind != kind->currentText())
        return false;
    if (!entry.user.contains(user->text().trimmed(), Qt::CaseInsensitive))
        return false;
    if (!entry.serial.contains(serial->text().trimmed(), Qt::CaseInsensitive))
        return false;
    const QDate day = localDate(entry);
    if (from->date() != noLimit && day < from->date())
        return false;
    return to->date() == noLimit || day <= to->date();
}

QString AuditTrailFilterBar::description() const
{
    QStringList parts;
    if (kind->currentIndex() > 0)
        parts << tr("类型 %1").arg(kind->currentText());
    if (!user->text().trimmed().isEmpty())
        parts << tr("用户含“%1”").arg(user->text().trimmed());
    if (!serial->text().trimmed().isEmpty())
        parts << tr("序列号含“%1”").arg(serial->text().trimmed());
    if (from->date() != noLimit)
        parts << tr("自 %1").arg(from->date().toString(Qt::ISODate));
    if (to->date() != noLimit)
        parts << tr("至 %1").arg(to->date().toString(Qt::ISODate));
    return parts.join(QStringLiteral("; "));
}

void AuditTrailFilterBar::retranslate()
{
    kindLabel->setText(tr("类型"));
    kind->setItemText(0, tr("全部类型"));
    user->setPlaceholderText(tr("用户"));
    serial->setPlaceholderText(tr("序列号"));
    fromLabel->setText(tr("从"));
    toLabel->setText(tr("到"));
    from->setSpecialValueText(tr("不限"));
    to->setSpecialValueText(tr("不限"));
}

void AuditTrailFilterBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
