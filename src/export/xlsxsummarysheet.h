// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook's summary sheet: the report's first page and the evaluation as rows.
#pragma once

#include "core/auditentry.h"
#include "recording/loadedrecording.h"
#include "recording/recordinganalysis.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <xlsxwriter.h>

class XlsxSummarySheet
{
    // The texts are the report's, in the context of the view container that runs the export.
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    // The value formats align left, so numbers and dates line up with the texts.
    struct Formats {
        lxw_format *heading;
        lxw_format *number;
        lxw_format *dateTime;
        lxw_format *oneDecimal;
    };

    // A `head` of seq > 0 is named under the title.
    XlsxSummarySheet(lxw_worksheet *sheet, const Formats &formats,
                     const LoadedRecording &recording, const AuditHead &head = {});

    // Writes the sections top to bottom, as the workbook's constant-memory
    // mode requires; `english` widens the name column for the longer names.
    // A review naming the recording's fingerprint comes first.
    void write(bool english);

private:
    // The review, right under the title where a reader sees it first.
    void signatures(bool english);
    void comments();
    // A row of column titles from the second column on.
    void titles(const QStringList &names);
    void device();
    void configuration();
    void temperatures();
    void alarms();
    void evaluation();
    void excursions(const QVector<Excursion> &list);

    void heading(const QString &title);
    void pair(const QString &name, const QString &value);
    // A header time as a date-time cell, blank when the recording has none.
    void timePair(const QString &name, const QDateTime &time, const QString &extra = QString());
    void number(const QString &name, double value);
    void skipRow() { ++row; }

    lxw_worksheet *sheet;
    const Formats formats;
    const LoadedRecording &data;
    const ReadDevInfoJson &info;
    const AuditHead auditHead;
    lxw_row_t row = 0;
};
