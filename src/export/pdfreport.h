// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a recording as an A4 PDF report: a first page with chart, then the data pages.
#pragma once

#include "core/auditentry.h"
#include "recording/loadedrecording.h"

#include <QString>

// Data pages needed for `sampleCount` samples, 576 to a page.
int dataPageCount(int sampleCount);

// Draws the whole report into the PDF/A-1b file `path`: the first page, then
// `dataPages` data pages (never more than the samples fill), laid out for
// English texts when `english` is set. Every page's foot and the XMP metadata
// carry the recording's `sha256`; a recording built in memory has none, and
// then neither names a fingerprint. Reentrant: it only reads the recording,
// so it may run on a pool thread. The file replaces an earlier one only once
// it is complete. Returns false, with the system's reason in `error` when
// given, when it could not be written whole; an earlier file at `path` is then
// left as it was. With an `auditHead` of seq > 0, the first page's top and
// the metadata name the audit trail's newest entry, pinning the trail as it
// was when the report was written. The recording's review (when it names the
// recording's fingerprint) is printed on the first page, with review pages
// before the data pages for what does not fit there, and its signatures
// stand in the metadata.
bool writePdfReport(const QString &path, const LoadedRecording &recording, int dataPages,
                    bool english, QString *error = nullptr, const AuditHead &auditHead = {});
