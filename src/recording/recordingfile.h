// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a recording file for reading: regular files within the size bound only, never blocking.
#pragma once

#include "recording/loadedrecording.h"

#include <QByteArray>
#include <QString>

class QFile;

// Pipes, devices and sockets are refused before they are opened, so a
// reader never waits for a writer nor reads an endless device; a link counts
// as what it points to.
class RecordingFile
{
public:
    // Opens `path` read-only into `file` when it is a regular file of at most
    // RecordingReader::maximumFileSize bytes; Loaded then, else why not
    // (CannotOpen, UnreadableName, NotRegularFile or TooLarge) with `file` closed.
    static RecordingStatus open(const QString &path, QFile *file);
    // The whole content of such a file.
    static RecordingStatus readAll(const QString &path, QByteArray *bytes);

    // True when the folder of `path` holds an entry whose name decodes to the
    // file name of `path` but is spelt with other bytes: a name that the
    // system's file name encoding cannot represent.
    static bool isUndecodableName(const QString &path);
    // `path` for messages: an undecodable name with its bytes shown as \xHH.
    static QString shownPath(const QString &path);

private:
    // The bytes of the entry that isUndecodableName() finds, or none.
    static QByteArray undecodableSpelling(const QString &path);
};
