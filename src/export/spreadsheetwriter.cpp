// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the samples of a recording as a comma-separated spreadsheet file.
#include "export/spreadsheetwriter.h"

#include "core/units.h"
#include "core/utils.h"
#include "export/exportfile.h"
#include "export/recordingverdict.h"
#include "export/wallclocktext.h"

#include <QTextCodec>

QString temperatureColumnTitle(int tempUnit)
{
    return tempUnit == Celsius ? QStringLiteral("AT(°C)") : QStringLiteral("AT(℉)");
}

QString humidityColumnTitle()
{
    return QStringLiteral("RH%");
}

QString spreadsheetHeader(bool withHumidity, int tempUnit)
{
    QString header = QStringLiteral("YYYY/MM/DD,Time,") + temperatureColumnTitle(tempUnit);
    if (withHumidity)
        header += QLatin1Char(',') + humidityColumnTitle();
    return header + QLatin1Char('\n');
}

namespace
{

// Fills `line`, reusing its storage from one sample to the next.
void buildLine(QString &line, const SamplePoint &sample, bool withHumidity, int tempUnit)
{
    static const QString missing = QStringLiteral("---");
    line.resize(0);
    line += wallclocktext::date(sample.time);
    line += QLatin1Char(',');
    line += wallclocktext::time(sample.time);
    line += QLatin1Char(',');
    line += sample.temperature == noSampleTemperature
                ? missing
                : QString::number(fromCelsius(sample.temperature, tempUnit), 'f', 1);
    if (withHumidity) {
        line += QLatin1Char(',');
        line += sample.humidity == noSampleHumidity ? missing
                                                    : QString::number(sample.humidity, 'f', 1);
    }
    line += QLatin1Char('\n');
}

} // namespace

QString spreadsheetNotice(const LoadedRecording &recording)
{
    const QString notice = RecordingVerdict::incompleteText(recording);
    return notice.isEmpty() ? notice : notice + QLatin1Char('\n');
}

QString spreadsheetLine(const SamplePoint &sample, bool withHumidity, int tempUnit)
{
    QString line;
    buildLine(line, sample, withHumidity, tempUnit);
    return line;
}

bool writeSpreadsheet(const QString &path, const LoadedRecording &recording, QString *error)
{
    ExportFile file(path);
    if (!file.open())
        return file.fail(error);
    const bool withHumidity = recording.recording.isContainHum;
    const int unit = recording.recording.tempUnit;
    // The local code page, as toLocal8Bit() gives it on Qt 5; Qt 6's toLocal8Bit()
    // is UTF-8 on every Unix whatever the locale says.
    const QTextCodec *local = QTextCodec::codecForLocale();
    bool written = file.write(
        local->fromUnicode(spreadsheetNotice(recording) + spreadsheetHeader(withHumidity, unit)));
    QString line;
    line.reserve(40);
    for (int i = 0; written && i < recording.samples.size(); ++i) {
        buildLine(line, recording.samples.at(i), withHumidity, unit);
        written = file.write(local->fromUnicode(line));
    }
    return file.commit() || file.fail(error);
}
