// SPDX-License-Identifier: GPL-3.0-or-later
// Reading single members of a JSON object into record fields, present keys only.
#pragma once

#include <QJsonObject>
#include <QString>

// Each function sets `member` only when `object` holds `key`; a value of the
// wrong JSON type reads as the conversion's default (0, false, empty string).
void readJsonField(const QJsonObject &object, const QString &key, int &member);
void readJsonField(const QJsonObject &object, const QString &key, qint64 &member);
void readJsonField(const QJsonObject &object, const QString &key, bool &member);
void readJsonField(const QJsonObject &object, const QString &key, QString &member);

// The value through toDouble(), truncated toward zero and clamped to the qint64
// range (NaN and non-numbers give 0), so a hostile file cannot trigger an
// out-of-range floating-point conversion.
qint64 jsonToInt64(const QJsonValue &value);
