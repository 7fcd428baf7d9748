// SPDX-License-Identifier: GPL-3.0-or-later
// The exit codes of hygra-cli, one per kind of failure.
#pragma once

enum CliExit {
    ExitOk = 0,
    ExitUsage = 2,
    ExitNoLogger = 3,
    ExitOpenFailed = 4,
    ExitTimeout = 5,
    ExitNoRecords = 6,
    ExitFileNotReadable = 7,
    ExitNotRecording = 8,
    ExitNotVerified = 9,
    ExitCannotWrite = 10,
    ExitBadConfigFile = 11,
    // A configuration write would erase records and --erase was not given.
    ExitWouldErase = 12,
    // The report names another recording file's fingerprint.
    ExitReportMismatch = 13,
    // The report is no PDF or carries no fingerprint.
    ExitNoFingerprint = 14,
    // SIGINT or SIGTERM ended a download; its partial file was removed.
    ExitInterrupted = 15,
    // The archive cannot be opened, reached or written.
    ExitArchiveUnavailable = 16,
    // The archive holds no such recording, or its file is on no computer it can reach.
    ExitNotArchived = 17,
    // `archive check` found files that are missing or changed.
    ExitArchiveProblems = 18,
    // The report is incomplete, damaged or altered: its bytes, its metadata and
    // its first page do not agree with each other or with the recording file.
    ExitReportAltered = 19,
    // `audit verify` found an entry changed, missing, inserted or moved, or the
    // trail cut and restarted.
    ExitAuditBroken = 20,
    // `review` was refused: a wrong password, signing locked, or a meaning
    // the signer may not give now.
    ExitNotSigned = 21,
};
