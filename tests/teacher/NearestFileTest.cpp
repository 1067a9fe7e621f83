#include "teacher/NearestFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct FolderCase {
    const char* what;
    QStringList files;
    QString offered; // empty: none
};

// The file offered for a missing "El_faro_CRJ.TXT": a slip of a letter or two, or the key with an
// editor's extension after it; never another lesson's key, a text or a register.
TEST(NearestFile, OffersOnlyALikelySlip) {
    const std::vector<FolderCase> cases = {
        {"a hyphen for the underscore", {"El-faro_CRJ.TXT", "El_faro_lec.rtf"}, "El-faro_CRJ.TXT"},
        {"letters swapped", {"El_faro_CJR.TXT"}, "El_faro_CJR.TXT"},
        {"an editor's extension", {"El_faro_CRJ.TXT.txt"}, "El_faro_CRJ.TXT.txt"},
        {"the nearest of two", {"El_faro_CRJ.TX", "El_faro_CJR.TXT"}, "El_faro_CRJ.TX"},
        {"another lesson's key", {"El_fare_CRJ.TXT", "El_fare_lec.rtf"}, ""},
        {"the texts and registers", {"El_faro_lec.rtf", "El_faro071226_reg.csv"}, ""},
        {"nothing alike", {"notas.txt", "Tema_CRJ.TXT"}, ""},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        for (const QString& name : c.files) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(nearestFileName(dir.path() + u'/', QStringLiteral("El_faro_CRJ.TXT"),
                                  QStringLiteral("El_faro")),
                  c.offered);
    }
}

} // namespace
