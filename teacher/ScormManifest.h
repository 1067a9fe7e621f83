#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The imsmanifest.xml of a lesson's SCORM 1.2 package: one organization with one item, whose
// one resource is the page (a SCO launched at index.html) with every file of the package listed.
// files are paths inside the package, "/" separated.
QByteArray ScormManifest(const QString& lesson, const QStringList& files);
