#pragma once

#include <QIODevice>
#include <QString>

class QFile;

// Files in a folder that others can write: a class folder, which every student's computer writes,
// or a folder an export goes to. A name there may be a symbolic link (on Windows a reparse point)
// to a file of the teacher's, a FIFO that blocks whoever opens it, or a device that never ends.
// Every file such a folder holds is opened here: never through a link at its last component,
// never blocking, and only when what was opened is a regular file.

enum class FolderAccess {
    Read,           // an existing file, for reading
    ReadWrite,      // an existing file, for reading and writing, nothing cut
    Append,         // an existing file, written at its end only
    CreateNew,      // a new file; a name already taken (by anything, a link too) is refused
    CreateOrAppend, // written at its end, created when missing
};

enum class FolderOpen {
    Opened,
    Missing,    // no such file
    Taken,      // CreateNew: the name is taken already
    Link,       // a symbolic link or reparse point: refused, whatever it names
    NotRegular, // a folder, FIFO, socket or device
    Failed,     // any other refusal of the system (permissions, a folder that is not there)
};

// Opens path into file, through the descriptor checked here. extra adds QIODevice::Unbuffered or
// Text to the mode that access implies. The file's size, seeks, reads, writes and resize work as
// usual; Qt keeps no name for a file opened so: remove it by name (QFile::remove(path)).
FolderOpen OpenInFolder(QFile& file, const QString& path, FolderAccess access,
                        QIODevice::OpenMode extra = {});

// Why an open failed, as a Spanish clause to follow the file's name: «es un enlace y no se
// sigue», «no es un archivo normal», «no se puede abrir el archivo».
QString FolderOpenReason(FolderOpen result);

// True when path is a symbolic link or reparse point itself (not following it). A subfolder of
// ours (the visits' copies) that is a link is refused like a file.
bool IsLink(const QString& path);
