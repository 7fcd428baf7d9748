// SPDX-License-Identifier: GPL-3.0-or-later
// The report's first page without its chart: device, configuration, temperature and alarm sections.
#pragma once

#include "recording/loadedrecording.h"
#include "recording/recordingsummary.h"

#include <QCoreApplication>
#include <QDateTime>

class ReportPainter;

class ReportFirstPage
{
    // The texts belong to the view container, which runs the export.
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    // What an alarm row compares: temperature or humidity, at or above / below.
    using AlarmKind = recordingsummary::AlarmKind;

    ReportFirstPage(const ReportPainter &painter, const LoadedRecording &recording);

    // Draws everything of the first page except the chart, the evaluation and
    // the page's foot; `createdAt` is the report's creation time printed above
    // the foot.
    void draw(const QDateTime &createdAt) const;

    // The threshold cell of an open alarm: "≥ 20.0℃", "≥0.0℃", "≤ 30%RH"...
    static QString thresholdText(AlarmKind kind, int alertValue, int tempUnit);
    // The start and stop modes of a configuration: "软件", "按键"...
    static QString startModeText(int startOperation);
    static QString stopModeText(int stopOperation);
    // True when any drawn alarm row is open and was raised: the badge shows a cross.
    static bool anyAlarmRaised(const ReadDevInfoJson &info);

private:
    void drawHeader() const;
    void drawConfiguration() const;
    void drawTemperatureInfo() const;
    void drawAlarmTable() const;
    void drawBadge() const;
    void drawFooter(const QDateTime &createdAt) const;

    // Name, ":" and value of a configuration or temperature row.
    void leftTriple(int y1, const QString &name, const QString &value) const;
    void rightTriple(int y1, const QString &name, const QString &value) const;

    QString startStopText(const QDateTime &time, int temperature) const;
    QString statisticText(int temperature, int humidity, bool isMinimum) const;

    const ReportPainter &rp;
    const LoadedRecording &data;
    const ReadDevInfoJson &info;
};
