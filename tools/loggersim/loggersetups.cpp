// SPDX-License-Identifier: GPL-3.0-or-later
// Parser for the compact and the JSON description of the emulated loggers.
#include "loggersetups.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtDebug>

namespace
{
// Caps a sample count so the emulator's statistics stay quick to compute.
constexpr qint64 maxSamples = 10000000;
// Longer than any command timeout of the controller: beyond it a logger is as good as silent.
constexpr int maxLatencyMs = 60000;
// More chunks than this only make an answer arrive byte by byte.
constexpr int maxChunks = 4100;

bool readModel(const QString &text, int *model)
{
    if (text.compare(QLatin1String("HX10D"), Qt::CaseInsensitive) == 0)
        *model = 0;
    else if (text.compare(QLatin1String("HX20D"), Qt::CaseInsensitive) == 0)
        *model = 1;
    else
        return false;
    return true;
}

bool readFlag(const QString &text)
{
    return text == QLatin1String("1") ||
           text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
}

// Applies one key=value pair; false for an unknown key.
bool applyField(loggersim::LoggerSetup &description, const QString &key, const QString &value)
{
    if (key == QLatin1String("sn"))
        description.sn = value.left(10);
    else if (key == QLatin1String("sensor"))
        description.sensorType = qBound(0, value.toInt(), 2);
    else if (key == QLatin1String("samples"))
        description.samples = qBound<qint64>(0, value.toLongLong(), maxSamples);
    else if (key == QLatin1String("interval"))
        description.interval = qBound(1, value.toInt(), 65535);
    else if (key == QLatin1String("delay"))
        description.startDelay = qBound(0, value.toInt(), 255);
    else if (key == QLatin1String("loop"))
        description.loop = readFlag(value);
    else if (key == QLatin1String("recording"))
        description.recording = readFlag(value);
    else if (key == QLatin1String("seed"))
        description.seed = value.toUInt();
    else if (key == QLatin1String("name"))
        description.name = value;
    else if (key == QLatin1String("note"))
        description.note = value;
    else if (key == QLatin1String("latency"))
        description.faults.latencyMs = qBound(0, value.toInt(), maxLatencyMs);
    else if (key == QLatin1String("chunks"))
        description.faults.chunks = qBound(1, value.toInt(), maxChunks);
    else if (key == QLatin1String("garbage"))
        description.faults.garbage = QByteArray::fromHex(value.toLatin1());
    else if (key == QLatin1String("drop"))
        description.faults.dropAnswers = qMax(0, value.toInt());
    else if (key == QLatin1String("silent"))
        description.faults.silent = readFlag(value);
    else if (key == QLatin1String("refuseopen"))
        description.faults.refuseOpen = readFlag(value);
    else if (key == QLatin1String("wrongblock"))
        description.faults.wrongBlockNumber = qBound(0, value.toInt(), 63);
    else if (key == QLatin1String("unplugafter"))
        description.faults.unplugAfterTransfers = value.toInt() > 0 ? value.toInt() : -1;
    else if (key == QLatin1String("kerneldriver"))
        description.faults.kernelDriver = readFlag(value);
    else if (key == QLatin1String("start"))
        description.start = QDateTime::fromString(value, Qt::ISODate);
    else
        return false;
    return true;
}

QList<loggersim::LoggerSetup> parseCompact(const QString &text)
{
    QList<loggersim::LoggerSetup> setups;
    const QStringList entries =
        text.split(QRegularExpression(QStringLiteral("[,;]")), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QStringList fields = entry.trimmed().split(QLatin1Char(':'));
        loggersim::LoggerSetup description;
        if (!readModel(fields.first().trimmed(), &description.model)) {
            qWarning() << "loggersim: unknown model in" << entry;
            continue;
        }
        for (int i = 1; i < fields.size(); ++i) {
            const QString field = fields.at(i).trimmed();
            const int eq = field.indexOf(QLatin1Char('='));
            // A date-time holds colons; they belong to the "start" value.
            if (field.startsWith(QLatin1String("start="))) {
                description.start =
                    QDateTime::fromString(fields.mid(i).join(QLatin1Char(':')).mid(6), Qt::ISODate);
                break;
            }
            if (eq < 0 || !applyField(description, field.left(eq), field.mid(eq + 1)))
                qWarning() << "loggersim: ignoring" << field;
        }
        setups.append(description);
    }
    return setups;
}

QList<loggersim::LoggerSetup> parseJsonFile(const QString &path)
{
    QList<loggersim::LoggerSetup> setups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "loggersim: cannot read" << path;
        return setups;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    const QJsonArray list = doc.isArray() ? doc.array() : doc.object().value("loggers").toArray();
    for (const QJsonValue &v : list) {
        const QJsonObject o = v.toObject();
        loggersim::LoggerSetup description;
        if (!readModel(o.value("model").toString(), &description.model)) {
            qWarning() << "loggersim: unknown model in" << path;
            continue;
        }
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (it.key() == QLatin1String("model"))
                continue;
            const QString value = it.value().isString() ? it.value().toString()
                                  : it.value().isBool()
                                      ? QString::number(it.value().toBool() ? 1 : 0)
                                      : QString::number(it.value().toDouble(), 'f', 0);
            if (!applyField(description, it.key(), value))
                qWarning() << "loggersim: ignoring key" << it.key();
        }
        setups.append(description);
    }
    return setups;
}
} // namespace

QString defaultLoggerSetupText()
{
    return QStringLiteral(
        "HX20D:sn=H2B0012345:sensor=2:samples=5000:interval=12:recording=1:seed=7,"
        "HX10D:sn=H1A0067890:samples=3000:interval=6:seed=3");
}

QList<loggersim::LoggerSetup> parseLoggerSetups(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return {};
    if (t.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return parseJsonFile(t);
    return parseCompact(t);
}
