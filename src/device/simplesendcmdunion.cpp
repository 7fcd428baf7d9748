// SPDX-License-Identifier: GPL-3.0-or-later
// Constructors for queue commands.
#include "device/simplesendcmdunion.h"

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
    // Cut between characters: a GBK lead byte (0x81 and up) starts a two-byte one.
    int length = 0;
    while (length < gbkNote.size()) {
        const int next = length + (uint8_t(gbkNote.at(length)) >= 0x81 ? 2 : 1);
        if (next > noteFieldBytes || next > gbkNote.size())
            break;
        length = next;
    }
    cmd.note.noteLen = length;
    std::memcpy(cmd.note.noteBytes, gbkNote.constData(), size_t(cmd.note.noteLen));
    return cmd;
}
