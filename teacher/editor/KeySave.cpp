#include "teacher/editor/KeySave.h"

#include "platform/core/AtomicFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The student's program reads the text before the first NUL byte.
bool readsBackAs(const QByteArray& bytes, const KeyText& text) {
    KeyText again = readKeyText(bytes);
    return again.lines == text.lines;
}

} // namespace

QByteArray keyBytesForSaving(KeyText& text, QString& notice, QString& failure) {
    if (text.encoding == KeyText::Encoding::Windows1252) {
        if (fitsWindows1252(text.lines)) {
            const QByteArray bytes = writeKeyText(text);
            if (readsBackAs(bytes, text))
                return bytes;
            // Bytes of Windows-1252 that happen to be valid UTF-8 ("Ã³") would be read as UTF-8.
            notice = QStringLiteral("La clave tiene letras que, escritas en Windows-1252, el "
                                    "programa del alumno leería de otro modo: se guarda en "
                                    "UTF-8, que también lee.");
        } else {
            notice = QStringLiteral("La clave tiene caracteres que Windows-1252 no tiene: se "
                                    "guarda en UTF-8, que el programa del alumno también lee.");
        }
        text.encoding = KeyText::Encoding::Utf8;
    }
    const QByteArray bytes = writeKeyText(text);
    if (!readsBackAs(bytes, text)) {
        failure = QStringLiteral("La clave tiene caracteres que el programa del alumno no puede "
                                 "leer: quítelos y vuelva a guardar.");
        return {};
    }
    return bytes;
}

KeySaveResult saveKey(KeyText& text, const QString& path) {
    KeySaveResult result;
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    if (!QFileInfo(info.absolutePath()).isWritable()) {
        result.failure =
            QStringLiteral("No se puede guardar la clave: la carpeta %1 es de solo lectura. "
                           "Pida permiso para escribir en ella, o copie la lección a una carpeta "
                           "suya.")
                .arg(folder);
        return result;
    }
    const KeyText before = text;
    const QByteArray bytes = keyBytesForSaving(text, result.notice, result.failure);
    if (!result.failure.isEmpty()) {
        text = before;
        return result;
    }
    QString reason;
    if (!ReplaceKeepingBackups(path, bytes, reason)) {
        text = before;
        result.failure = QStringLiteral("%1. La clave no se ha guardado: la del disco sigue como "
                                        "estaba.")
                             .arg(reason);
        return result;
    }
    result.saved = true;
    return result;
}
