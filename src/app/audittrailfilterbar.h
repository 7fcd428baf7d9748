// SPDX-License-Identifier: GPL-3.0-or-later
// AuditTrailFilterBar: the audit trail window's filters by kind, user, serial and date.
#pragma once

#include "core/auditentry.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

class AuditTrailFilterBar : public QWidget
{
    Q_OBJECT
public:
    explicit AuditTrailFilterBar(QWidget *parent = nullptr);

    // The kinds the combo offers besides "all", sorted; the chosen one stays when offered.
    void setKinds(QStringList kinds);
    // The entry passes every filter set: its kind, a user and a serial that
    // contain the texts typed (in any case), a local date within the range.
    bool matches(const AuditEntry &entry) const;
    // The filters set, in words; empty when none is.
    QString description() const;

signals:
    void changed();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QLabel *kindLabel;
    QComboBox *kind;
    QLineEdit *user;
    QLineEdit *serial;
    QLabel *fromLabel;
    QDateEdit *from;
    QLabel *toLabel;
    QDateEdit *to;
};
