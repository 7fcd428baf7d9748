// SPDX-License-Identifier: GPL-3.0-or-later
// The logger's name as text: the one way it is read from and stored in the configuration record.
#include "device/devicetext.h"

#include <cstring>

static_assert(sizeof(OneConfigCmdStruct::devName) == deviceNameBytes + 1,
              "the name field holds the name and its NUL");

QString deviceName(const OneConfigCmdStruct &config)
{
    return QString::fromUtf8(config.devName, int(qstrnlen(config.devName, deviceNameBytes + 1)));
}

bool setDeviceName(OneConfigCmdStruct &config, const QString &name)
{
    const QByteArray bytes = utf8Prefix(name, deviceNameBytes);
    std::memset(config.devName, 0, sizeof config.devName);
    std::memcpy(config.devName, bytes.constData(), size_t(bytes.size()));
    return bytes.size() == name.toUtf8().size();
}

QByteArray utf8Prefix(const QString &text, int maxBytes)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= maxBytes)
        return bytes;
    int end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the cut character.
    while (end > 0 && (uchar(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    return bytes;
}
