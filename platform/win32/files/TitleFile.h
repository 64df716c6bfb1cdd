// The one way a file that a title names is opened: CreateFileA, CopyFileA and the move between host file
// systems, QuickTime's movie and sound files (and so their media), profiles, the wallpaper check of the
// system parameters, the identity of a path and the opener's look at a document open through it.
//
// The open never waits: it is made without blocking and without taking a controlling terminal, through the
// drive's folder (HostPath.h), and what it opened is checked on the descriptor itself: a regular file, or a
// folder where the caller takes one. A FIFO, socket or device node of the host found in a drive's folder is
// refused at once, whatever name it has or had when the path was resolved; the devices the platform emulates
// ("\\.\X:", "\\.\vwin32") have names of their own and are opened by CreateFileA alone (Device.h).
//
// Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/HostPath.h"

namespace win32 {

// What the caller takes.
enum class TitleFileKind {
    File,
    Folder,
    FileOrFolder,
};

// Opens the existing file or folder a resolved path names, with open's access flags (O_RDONLY, O_WRONLY or
// O_RDWR, or O_PATH to look at it without reading it; O_CLOEXEC and O_NOCTTY are always added). The
// descriptor, blocking again for reads and writes, or -1 with the last error set: ERROR_FILE_NOT_FOUND when
// nothing is there (or only a link that leads out of the drive), ERROR_ACCESS_DENIED for a kind the caller
// does not take (a folder where a file is wanted and the other way round, a FIFO, socket or device node) or
// access the host refuses, else the host's reason.
int OpenTitleFile(const HostPath& host, int flags, TitleFileKind kind);

// Resolves a Windows path and opens what it names for reading, as above. resolved, when given, receives the
// resolved path (for its host text, say).
int OpenTitleFile(LPCSTR path, TitleFileKind kind, HostPath* resolved = nullptr);

} // namespace win32
