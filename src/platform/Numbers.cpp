#include "platform/Numbers.h"

namespace num {

QString Text(double v) {
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<long long>(v));
    // Seven significant digits, as a single holds them, never in exponent form.
    const double f = static_cast<float>(v);
    QString s = QString::number(f, 'g', 7);
    if (s.contains('e')) s = QString::number(f, 'f', 7);
    if (s.contains('.')) {
        while (s.endsWith('0')) s.chop(1);
        if (s.endsWith('.')) s.chop(1);
    }
    return s;
}

bool Parse(const QString& text, double* out) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    if (out) *out = v;
    return true;
}

}  // namespace num
