// SPDX-License-Identifier: GPL-3.0-or-later
// One command for the device controller's queue, and the command kinds.
#pragma once

#include "device/oneconfigcmdstruct.h"

#include <QByteArray>
#include <QMetaType>
#include <cstdint>

enum SimpleCmdType : int32_t {
    CheckCmd = 0,
    ConfigCmd = 1,
    StartStopCmd = 2,
    ReadBlockCmd = 4,
    LanguageCmd = 6,
    NoteCmd = 7,
    RecordInfoCmd = 8,
    AlarmInfoCmd = 9,
    InitialReadCmd = 10,
    ResetCmd = 11,
    // The record counts alone: the same request as RecordInfoCmd, answered by
    // UsbControl::recordCountResult, starting no download.
    RecordCountCmd = 12,
};

enum CmdOptType : int32_t { ReadOpt = 0, WriteOpt = 1 };

// The bytes a note record holds; the settings form allows fewer.
constexpr int noteFieldBytes = 104;

struct CmdCommon {
    int32_t cmdType;
    int32_t cmdOptType;
};

struct NoteCmdStruct {
    int32_t cmdType;
    int32_t cmdOptType;
    char noteBytes[noteFieldBytes]; // GBK-encoded note
    int32_t noteLen;              // bytes used, 0..104
};

// StartStopCmd (1 start, 0 stop), LanguageCmd (1 English, 0 Chinese),
// ReadBlockCmd (block number from 1).
struct ValueCmdStruct {
    int32_t cmdType;
    int32_t cmdOptType;
    int32_t value;
};

// All members begin with cmdType and cmdOptType, which may be read through any
// of them. The configuration record is the largest member, so value-initialising
// the union (`SimpleSendCmdUnion u{};`) zeroes all of it.
union SimpleSendCmdUnion {
    OneConfigCmdStruct config;
    CmdCommon common;
    NoteCmdStruct note;
    ValueCmdStruct simple;
};

static_assert(sizeof(SimpleSendCmdUnion) == sizeof(OneConfigCmdStruct),
              "the configuration record is the largest command");

// A command without arguments, or with `value` for the value commands.
SimpleSendCmdUnion makeSimpleCmd(int cmdType, int value = 0, int cmdOptType = ReadOpt);
// A configuration write carrying `config`.
SimpleSendCmdUnion makeConfigWriteCmd(const OneConfigCmdStruct &config);
// A note write; the bytes are cut between characters to at most 104.
SimpleSendCmdUnion makeNoteWriteCmd(const QByteArray &gbkNote);

Q_DECLARE_METATYPE(SimpleSendCmdUnion)
