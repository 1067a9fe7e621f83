#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>

bool openRegularFileForReading(QFile& file) {
    if (!QFileInfo(file.fileName()).isFile())
        return false;
    return file.open(QIODevice::ReadOnly);
}
