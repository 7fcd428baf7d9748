// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the header of a recording file: model name and device information.
#include "recording/recordingwriter.h"

#include "core/lgxdevtype.h"

#include <QDataStream>
#include <QIODevice>
#include <QJsonDocument>

bool writeRecordingHeader(QIODevice *device, const ReadDevInfoJson &info)
{
    const QByteArray model = modelName(info.devType).toLatin1();
    if (!device || !device->isWritable() || model.isEmpty())
        return false;

    QByteArray nameBytes(recordingModelNameSize, '\0');
    nameBytes.replace(0, model.size(), model);

    QJsonObject object;
    info.toJson(object);
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);

    QDataStream stream(device);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.writeRawData(nameBytes.constData(), nameBytes.size());
    stream << json;
    return stream.status() == QDataStream::Ok;
}
