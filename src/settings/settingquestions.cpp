// SPDX-License-Identifier: GPL-3.0-or-later
// SettingQuestions: what the settings page asks before it leaves with changes or writes.
#include "settings/settingquestions.h"

#include "widgets/selectdialog.h"

#include <QLocale>

qint64 SettingQuestions::recordsAtStake(qint64 recordNum, int numofReport)
{
    if (numofReport > 0)
        return numofReport;
    return qMax<qint64>(recordNum, 0);
}

QString SettingQuestions::eraseWarning(bool known, qint64 recordNum, int numofReport)
{
    if (!known)
        return tr("注意配置设备会清除\n设备中所有记录的数据");
    const qint64 records = recordsAtStake(recordNum, numofReport);
    if (records == 0)
        return tr("设备中没有记录，写入配置不会清除数据。");
    if (records == 1)
        return tr("设备中有 1 条记录，写入配置会将它清除。\n先下载可以保留这条记录。");
    // Grouped digits in both languages: 5,000 and 64,512 read at a glance.
    return tr("设备中有 %1 条记录，写入配置会将它们全部清除。\n先下载可以保留这些记录。")
        .arg(QLocale(QLocale::English).toString(records));
}

SettingQuestions::Leave SettingQuestions::askLeave(QWidget *parent)
{
    SelectDialog dialog(tr("是否保存设备设置"), parent);
    dialog.setConfirmText(tr("保存"));
    dialog.addAlternative(tr("不保存"), false);
    switch (dialog.exec()) {
    case QDialog::Accepted:
        return Leave::Save;
    case SelectDialog::Alternative:
        return Leave::Discard;
    default:
        return Leave::Stay;
    }
}

SettingQuestions::Erase SettingQuestions::askErase(QWidget *parent, bool known, qint64 recordNum,
                                                   int numofReport)
{
    SelectDialog dialog(eraseWarning(known, recordNum, numofReport), parent);
    dialog.setConfirmText(tr("写入"));
    // With records at stake the safe answer holds the focus, so Return does not erase them.
    if (!known || recordsAtStake(recordNum, numofReport) > 0)
        dialog.addAlternative(tr("先下载"), true);
    switch (dialog.exec()) {
    case QDialog::Accepted:
        return Erase::Write;
    case SelectDialog::Alternative:
        return Erase::DownloadFirst;
    default:
        return Erase::Cancel;
    }
}
