#pragma once

class QFile;

// Opens the file for reading only when it is a regular file, or a link to one. Opening a FIFO
// waits for a writer and a device may never end: either would hang the program on a strange
// name in a lesson folder, so both count as files that cannot be opened.
bool openRegularFileForReading(QFile& file);
