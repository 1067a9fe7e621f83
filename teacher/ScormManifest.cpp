#include "teacher/ScormManifest.h"

#include <QXmlStreamWriter>

namespace {

constexpr auto kContentNs = "http://www.imsproject.org/xsd/imscp_rootv1p1p2";
constexpr auto kAdlNs = "http://www.adlnet.org/xsd/adlcp_rootv1p2";
constexpr auto kSchemaNs = "http://www.w3.org/2001/XMLSchema-instance";

// An identifier (xs:ID) from the lesson's name: letters, digits, "_", "-" and "." only, not
// starting with a digit.
QString identifier(const QString& prefix, const QString& lesson) {
    QString id = prefix;
    for (const QChar c : lesson)
        id += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'_' || c == u'-' || c == u'.'
                  ? c
                  : u'_';
    return id;
}

} // namespace

QByteArray ScormManifest(const QString& lesson, const QStringList& files) {
    QByteArray xml;
    QXmlStreamWriter out(&xml);
    out.setAutoFormatting(true);
    out.setAutoFormattingIndent(2);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("manifest"));
    out.writeAttribute(QStringLiteral("identifier"),
                       identifier(QStringLiteral("dorvalia_"), lesson));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    out.writeAttribute(QStringLiteral("xmlns"), QLatin1String(kContentNs));
    out.writeAttribute(QStringLiteral("xmlns:adlcp"), QLatin1String(kAdlNs));
    out.writeAttribute(QStringLiteral("xmlns:xsi"), QLatin1String(kSchemaNs));
    out.writeAttribute(
        QStringLiteral("xsi:schemaLocation"),
        QStringLiteral("%1 imscp_rootv1p1p2.xsd http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 "
                       "imsmd_rootv1p2p1.xsd %2 adlcp_rootv1p2.xsd")
            .arg(QLatin1String(kContentNs), QLatin1String(kAdlNs)));

    out.writeStartElement(QStringLiteral("metadata"));
    out.writeTextElement(QStringLiteral("schema"), QStringLiteral("ADL SCORM"));
    out.writeTextElement(QStringLiteral("schemaversion"), QStringLiteral("1.2"));
    out.writeEndElement();

    const QString organization = identifier(QStringLiteral("org_"), lesson);
    const QString resource = identifier(QStringLiteral("res_"), lesson);
    out.writeStartElement(QStringLiteral("organizations"));
    out.writeAttribute(QStringLiteral("default"), organization);
    out.writeStartElement(QStringLiteral("organization"));
    out.writeAttribute(QStringLiteral("identifier"), organization);
    out.writeTextElement(QStringLiteral("title"), lesson);
    out.writeStartElement(QStringLiteral("item"));
    out.writeAttribute(QStringLiteral("identifier"), identifier(QStringLiteral("item_"), lesson));
    out.writeAttribute(QStringLiteral("identifierref"), resource);
    out.writeAttribute(QStringLiteral("isvisible"), QStringLiteral("true"));
    out.writeTextElement(QStringLiteral("title"), lesson);
    out.writeEndElement(); // item
    out.writeEndElement(); // organization
    out.writeEndElement(); // organizations

    out.writeStartElement(QStringLiteral("resources"));
    out.writeStartElement(QStringLiteral("resource"));
    out.writeAttribute(QStringLiteral("identifier"), resource);
    out.writeAttribute(QStringLiteral("type"), QStringLiteral("webcontent"));
    out.writeAttribute(QStringLiteral("adlcp:scormtype"), QStringLiteral("sco"));
    out.writeAttribute(QStringLiteral("href"), QStringLiteral("index.html"));
    for (const QString& file : files) {
        out.writeEmptyElement(QStringLiteral("file"));
        out.writeAttribute(QStringLiteral("href"), file);
    }
    out.writeEndElement(); // resource
    out.writeEndElement(); // resources
    out.writeEndElement(); // manifest
    out.writeEndDocument();
    return xml;
}
