// SPDX-License-Identifier: GPL-3.0-or-later
// SettingQuestions: what the settings page asks before it leaves with changes or writes.
#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

class SettingQuestions
{
    // The questions are the settings page's own texts.
    Q_DECLARE_TR_FUNCTIONS(DevSettingInfo)
public:
    enum class Leave { Stay, Save, Discard };
    enum class Erase { Cancel, Write, DownloadFirst };

    // The records a write would erase, by the logger's counts: the memory's count is what a
    // download saves, and a logger that reports a recording but an empty memory still has
    // one to lose.
    static qint64 recordsAtStake(qint64 recordNum, int numofReport);
    // The erase warning for the logger's answer to the record-count query; `known` is false
    // when it gave none.
    static QString eraseWarning(bool known, qint64 recordNum, int numofReport);

    // "是否保存设备设置" with Cancel (stay on the page), Discard and Save.
    static Leave askLeave(QWidget *parent);
    // The erase warning with Cancel and Write, and Download first while there may be
    // records to keep.
    static Erase askErase(QWidget *parent, bool known, qint64 recordNum, int numofReport);
};
