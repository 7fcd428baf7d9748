// SPDX-License-Identifier: GPL-3.0-or-later
// Listing the recording files of a folder, with names the file name encoding cannot spell.
#pragma once

#include <QString>
#include <QVector>

// Every entry named "*.data" (any case) that is no folder and not hidden:
// pipes, devices and dangling links too, so that whoever reads them can say
// why it skips one instead of leaving it out unseen.
class RecordingFolder
{
public:
    struct Entry {
        // The path as Qt spells it; it names the file only when `decodable`.
        QString path;
        // The path for messages: bytes that are no UTF-8 shown as \xHH.
        QString shownPath;
        // False when the name's bytes have no spelling in the file name
        // encoding (UTF-8), so no Qt call can open the file by its path.
        bool decodable = true;
    };

    // In order of their paths; empty when the folder cannot be read.
    static QVector<Entry> list(const QString &folder);
    // `bytes` as text: its UTF-8 sequences as they are, every other byte as \xHH.
    static QString shownName(const QByteArray &bytes);
};
