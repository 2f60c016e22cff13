#include "ui/controls/FontMapper.h"

#include <QFontDatabase>
#include <QHash>

#include <cmath>

namespace deskpanel {

namespace {

bool installed(const QString& family)
{
    return QFontDatabase::hasFamily(family);
}

QString firstInstalled(std::initializer_list<const char*> families)
{
    for (const char* f : families)
        if (installed(QString::fromLatin1(f)))
            return QString::fromLatin1(f);
    return {};
}

} // namespace

bool FontMapper::isHeavyFace(const QString& face)
{
    return face.compare(QLatin1String("Arial Black"), Qt::CaseInsensitive) == 0;
}

QString FontMapper::family(const QString& face)
{
    static QHash<QString, QString> resolved;
    auto it = resolved.constFind(face);
    if (it != resolved.constEnd())
        return *it;
    QString result;
    if (installed(face)) {
        result = face;
    } else if (isHeavyFace(face)) {
        result = firstInstalled({"Lato Black", "Lato", "Inter Black", "Inter", "Liberation Sans", "DejaVu Sans"});
    } else {
        result = firstInstalled({"Liberation Sans", "Arimo", "DejaVu Sans"});
    }
    if (result.isEmpty())
        result = face; // let Qt's own substitution pick something
    resolved.insert(face, result);
    return result;
}

int FontMapper::pixelHeight(int tenthsOfPoint, int dpiY)
{
    if (tenthsOfPoint <= 0 || dpiY <= 0)
        return 1;
    return std::max(1, int(std::lround(tenthsOfPoint / 10.0 * dpiY / 72.0)));
}

QFont FontMapper::font(const QString& face, int tenthsOfPoint, int weight, int dpiY)
{
    QFont f(family(face));
    f.setPixelSize(pixelHeight(tenthsOfPoint, dpiY));
    int w = std::clamp(weight, 1, 1000);
    // "Arial Black" is black at any requested weight; its substitute must be asked for it.
    if (isHeavyFace(face) && !installed(face))
        w = std::max(w, 900);
    f.setWeight(QFont::Weight(w));
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace deskpanel
