// SPDX-License-Identifier: GPL-3.0-or-later
// Records every signal of a UsbControl as one line of text, in emission order.
#pragma once

#include "device/usbcontrol.h"
#include "loggersim.h"

#include <QStringList>

class ControlLog
{
public:
    explicit ControlLog(UsbControl *control)
    {
        auto b = [](bool v) { return QString(v ? "true" : "false"); };
        auto add = [this](const QString &line) { lines.append(line); };
        QObject::connect(control, &UsbControl::devConfigSignal, control,
                         [=](OneConfigCmdStruct c, int model) {
                             lastConfig = c;
                             add(QString("devConfigSignal(%1,%2)").arg(c.devName).arg(model));
                         });
        QObject::connect(control, &UsbControl::devReadNoteSignal, control,
                         [=](QString note) { add(QString("devReadNoteSignal(%1)").arg(note)); });
        QObject::connect(control, &UsbControl::devWriteReturnConfig, control,
                         [=](OneConfigCmdStruct c, QString note) {
                             lastConfig = c;
                             add(QString("devWriteReturnConfig(%1,%2)").arg(c.devName, note));
                         });
        QObject::connect(control, &UsbControl::initReadConfigState, control,
                         [=](bool flag, int startMode, bool restart) {
                             add(QString("initReadConfigState(%1,%2,%3)")
                                     .arg(b(flag))
                                     .arg(startMode)
                                     .arg(b(restart)));
                         });
        QObject::connect(
            control, &UsbControl::devStateSignal, control,
            [=](QString sn, bool rec, bool alert, int model) {
                add(QString("devStateSignal(%1,%2,%3,%4)").arg(sn, b(rec), b(alert)).arg(model));
            });
        QObject::connect(control, &UsbControl::dataDownloadErr, control,
                         [=](int e) { add(QString("dataDownloadErr(%1)").arg(e)); });
        QObject::connect(control, &UsbControl::startDataDownload, control,
                         [=](int total, QString path) {
                             writingPath = path;
                             add(QString("startDataDownload(%1)").arg(total));
                         });
        QObject::connect(control, &UsbControl::stopDataDownload, control,
                         [=](int e) { add(QString("stopDataDownload(%1)").arg(e)); });
        QObject::connect(control, &UsbControl::dataDownloadProgress, control,
                         [=](int cur, int total) {
                             if (cur >= total)
                                 filePath = control->savedFilePath();
                             add(QString("dataDownloadProgress(%1,%2)").arg(cur).arg(total));
                         });
        QObject::connect(control, &UsbControl::stopStartRecordResult, control,
                         [=](bool ok, bool stop) {
                             add(QString("stopStartRecordResult(%1,%2)").arg(b(ok), b(stop)));
                         });
        QObject::connect(control, &UsbControl::otherCmdErrTip, control, [=](int type, int opt) {
            add(QString("otherCmdErrTip(%1,%2)").arg(type).arg(opt));
        });
        QObject::connect(control, &UsbControl::resetCmdResult, control,
                         [=](bool ok) { add(QString("resetCmdResult(%1)").arg(b(ok))); });
        QObject::connect(control, &UsbControl::setLangueResult, control,
                         [=](bool ok) { add(QString("setLangueResult(%1)").arg(b(ok))); });
        QObject::connect(control, &UsbControl::closeDevSignal, control,
                         [=] { add(QString("closeDevSignal()")); });
        QObject::connect(control, &UsbControl::recordCountResult, control,
                         [=](bool ok, qint64 recordNum, int numofReport) {
                             add(QString("recordCountResult(%1,%2,%3)")
                                     .arg(b(ok))
                                     .arg(recordNum)
                                     .arg(numofReport));
                         });
    }

    QStringList lines;
    OneConfigCmdStruct lastConfig{};
    // The file of the download in progress, under its temporary name.
    QString writingPath;
    // Where the last complete download was saved.
    QString filePath;
};
