#include "teacher/Reliability.h"

bool Varies(const QList<quint8>& column) {
    bool right = false, wrong = false;
    for (quint8 x : column)
        (x ? right : wrong) = true;
    return right && wrong;
}

std::optional<double> Alpha(const ScoreColumns& columns, const QList<int>& which) {
    const qint64 k = which.size();
    if (k < 2)
        return std::nullopt;
    const qint64 n = columns[which.first()].size();
    if (n < 2)
        return std::nullopt;
    // In whole numbers scaled by n²: Σ p·q is Σ s(n − s), the totals' variance nΣT² − (ΣT)².
    qint64 itemVariances = 0;
    QList<qint64> totals(n, 0);
    for (int j : which) {
        qint64 right = 0;
        for (qint64 i = 0; i < n; ++i) {
            right += columns[j][i];
            totals[i] += columns[j][i];
        }
        itemVariances += right * (n - right);
    }
    qint64 sum = 0, squares = 0;
    for (qint64 t : totals) {
        sum += t;
        squares += t * t;
    }
    const qint64 totalVariance = n * squares - sum * sum;
    if (totalVariance <= 0)
        return std::nullopt;
    return double(k) / double(k - 1) * (1.0 - double(itemVariances) / double(totalVariance));
}
