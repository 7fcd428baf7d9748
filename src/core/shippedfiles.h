// SPDX-License-Identifier: GPL-3.0-or-later
// Where the files that ship with the program lie: catalogues, help documents, fonts.
#pragma once

#include <QString>

// The path of `name` ("lgxtranslation", "help.pdf", "fonts") for a program in
// `programDir`: beside the program when it is there (the build tree, a copy
// unpacked anywhere), otherwise in share/hygra of the prefix the program is
// installed under (/usr/bin/hygra finds /usr/share/hygra/help.pdf). When
// neither exists, the path beside the program, so messages name where it belongs.
QString shippedFilePath(const QString &programDir, const QString &name);

// The same for the running program.
QString shippedFilePath(const QString &name);
