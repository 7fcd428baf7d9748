// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation range and activation energy chosen per logger, kept in the archive.
#include "archive/archive.h"

#include "archive/archiveschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

EvaluationSettings Archive::evaluationSettings(const QString &serial)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral("SELECT range_low, range_high, activation_energy, changed_at"
                             " FROM evaluation_settings WHERE serial = ?"));
    q.addBindValue(serial);
    EvaluationSettings settings;
    if (!q.exec()) {
        fail(q.lastError().text());
        return settings;
    }
    if (!q.next())
        return settings;
    settings.serial = serial;
    settings.low = q.value(0).toDouble();
    settings.high = q.value(1).toDouble();
    settings.activationEnergyKJ = q.value(2).toDouble();
    settings.changedAt = q.value(3).toLongLong();
    return settings;
}

bool Archive::setEvaluationSettings(const EvaluationSettings &settings)
{
    if (!settings.isSet() || !(settings.low < settings.high) || !(settings.activationEnergyKJ > 0))
        return fail(QStringLiteral("an evaluation needs a serial, low < high and a positive "
                                   "activation energy"));
    // Delete and insert in one transaction: both engines know it, unlike one upsert syntax.
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QString why;
    if (!archiveschema::beginWrite(db, &why))
        return fail(why);
    QSqlQuery drop(db);
    drop.prepare(QStringLiteral("DELETE FROM evaluation_settings WHERE serial = ?"));
    drop.addBindValue(settings.serial);
    QSqlQuery add(db);
    add.prepare(QStringLiteral("INSERT INTO evaluation_settings"
                               " (serial, range_low, range_high, activation_energy, changed_at)"
                               " VALUES (?, ?, ?, ?, ?)"));
    for (const QVariant &value :
         {QVariant(settings.serial), QVariant(settings.low), QVariant(settings.high),
          QVariant(settings.activationEnergyKJ), QVariant(settings.changedAt)})
        add.addBindValue(value);
    if (drop.exec() && add.exec() && db.commit())
        return true;
    const QString reason = add.lastError().isValid() ? add.lastError().text()
                                                     : drop.lastError().text();
    db.rollback();
    return fail(reason.isEmpty() ? db.lastError().text() : reason);
}

bool Archive::clearEvaluationSettings(const QString &serial)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.prepare(QStringLiteral("DELETE FROM evaluation_settings WHERE serial = ?"));
    q.addBindValue(serial);
    return q.exec() || fail(q.lastError().text());
}
