// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes read as a preset file, applied to a logger and renamed.
#include "config/persettingjson.h"
#include "core/lgxdevtype.h"
#include "device/configframe.h"
#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using fuzzsupport::require;

namespace
{

const QString &presetPath()
{
    static QTemporaryDir folder(fuzzsupport::temporaryTemplate());
    static const QString path = folder.filePath(QStringLiteral("20240305_141530.conf"));
    return path;
}

void writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    require(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
}

// What a preset holds, except its name.
QJsonObject withoutName(const PersettingJson &preset)
{
    QJsonObject object = preset.toJson();
    object.remove(QStringLiteral("configName"));
    return object;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString &path = presetPath();
    writeFile(path, data, size);

    PersettingJson preset;
    if (!PersettingJson::readFile(path, &preset))
        return 0;

    // Applying the preset yields a record whose name fits its field, and a
    // frame that a logger of either model reads back the same way.
    QString note;
    const OneConfigCmdStruct config = preset.toConfig(&note);
    require(memchr(config.devName, '\0', sizeof config.devName) != nullptr);
    require(strlen(config.devName) <= 20);
    for (int model : {HX10D, HX20D}) {
        const QByteArray frame = encodeConfigFrame(config, model);
        const OneConfigCmdStruct back = decodeConfigFrame(frame, model);
        require(strcmp(back.devName, config.devName) == 0);
        require(back.devId == config.devId);
    }

    // Renaming changes the name and keeps everything a save would keep.
    require(PersettingJson::renameFile(path, QStringLiteral("renamed")));
    PersettingJson renamed;
    require(PersettingJson::readFile(path, &renamed));
    require(renamed.configName == QLatin1String("renamed"));
    PersettingJson saved;
    saved.readJson(preset.toJson());
    require(withoutName(renamed) == withoutName(saved));
    return 0;
}
