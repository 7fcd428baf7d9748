// SPDX-License-Identifier: GPL-3.0-or-later
// RecordingRemoval: deleting recording files into the desktop's trash, or for good only after
// asking.
#pragma once

#include <QStringList>

class QWidget;

// A recording may be the only record of a shipment: it goes to the desktop's
// trash, which is made where the account has none, laid out as freedesktop.org
// desktops share it. A file that no trash can take is deleted for good only
// when the user says so, in one question for all such files.
class RecordingRemoval
{
public:
    struct Outcome {
        // The files gone from their folder.
        QStringList removed;
        // Those of them deleted for good, not moved to the trash.
        QStringList deletedForGood;
        // The files the user chose to keep when asked.
        QStringList kept;
        // The files that could be neither moved nor deleted.
        QStringList failed;
    };

    // Removes `paths`; the question, when one is needed, is a child of `window`.
    static Outcome remove(const QStringList &paths, QWidget *window);
    // The account's trash, made where it is missing; false where none can be had.
    static bool ensureTrash();

private:
    static bool deleteForGood(const QString &path);
};
