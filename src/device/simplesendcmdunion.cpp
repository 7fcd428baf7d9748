// SPDX-License-Identifier: GPL-3.0-or-later
// Constructors for queue commands.
#include "device/simplesendcmdunion.h"

#include <algorithm>
#include <cstring>

SimpleSendCmdUnion makeSimpleCmd(int cmdType, int value, int cmdOptType)
{
    SimpleSendCmdUnion cmd{};
    cmd.simple.cmdType = cmdType;
    cmd.simple.cmdOptType = cmdOptType;
    cmd.simple.value = value;
    return cmd;
}

SimpleSendCmdUnion makeConfigWriteCmd(const OneConfigCmdStruct &config)
{
    SimpleSendCmdUnion cmd{};
    cmd.config = config;
    cmd.config.cmdType = ConfigCmd;
    cmd.config.cmdOptType = WriteOpt;
    return cmd;
}

SimpleSendCmdUnion makeNoteWriteCmd(const QByteArray &gbkNote)
{
    SimpleSendCmdUnion cmd{};
    cmd.note.cmdType = NoteCmd;
    cmd.note.cmdOptType = WriteOpt;
    cmd.note.noteLen = std::min(int(gbkNote.size()), noteFieldBytes);
    std::memcpy(cmd.note.noteBytes, gbkNote.constData(), size_t(cmd.note.noteLen));
    return cmd;
}
