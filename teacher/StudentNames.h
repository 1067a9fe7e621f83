#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Who a student is. Registers are typed by students, so a name is taken trimmed and with case
// ignored; beyond that the teacher may join names that are the same student («lucia», «LUCIA G.»)
// into one. The joins live in a small INI file of the teacher's choosing; the registers are never
// rewritten.
class StudentNames {
public:
    // The student a typed name stands for: its join's name when it has one, else the name as
    // typed (trimmed). Names compare trimmed and with case ignored.
    QString shownName(const QString& typed) const;
    // The identity figures are counted by: the shown name, case folded.
    QString id(const QString& typed) const;

    // Joins name to student (both as typed); joining a name to itself undoes its join. A name
    // that others were joined to carries them along.
    void join(const QString& name, const QString& student);
    // Undoes every join to student: each of its names stands for itself again.
    void separate(const QString& student);
    // The joins: a name (case folded) and the student it is joined to.
    const QHash<QString, QString>& joins() const { return joins_; }
    bool isEmpty() const { return joins_.isEmpty(); }

    // Reads the joins of an INI file (a missing file has none); false with a Spanish reason when
    // the file cannot be read.
    bool load(const QString& path, QString& failure);
    bool save(const QString& path, QString& failure) const;

private:
    QHash<QString, QString> joins_;
};

// The file the joins are kept in beside the registers: "alumnos.ini".
inline const QString kJoinsFileName = QStringLiteral("alumnos.ini");

// The joins' file of a folder: chosen when given, else kJoinsFileName in the folder.
QString JoinsFile(const QString& folder, const QString& chosen = {});

// A name without accents and case: "Lucía " and "LUCIA" give "lucia".
QString PlainName(const QString& name);

// Two names that may be the same student.
struct LikelyMatch {
    QString first, second;
};

// Among the shown names, the pairs that read the same without accents or of which one begins the
// other ("Lucía" and "LUCIA G."), in the names' order.
QList<LikelyMatch> LikelyMatches(const QStringList& names);
