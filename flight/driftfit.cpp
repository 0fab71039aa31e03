#include "flight/driftfit.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int MaxTerms = 4;
using Row = std::array<double, MaxTerms>;

// Solves the normal equations of `terms` unknowns, both coordinates at once;
// false when they do not fix the movement (too few or ill-placed fixes).
bool solve(std::array<Row, MaxTerms> a, std::array<Row, 2> b, int terms,
           std::array<double, 2>& velocity) {
    for (int c = 0; c < terms; ++c) {
        int pivot = c;
        for (int r = c + 1; r < terms; ++r)
            if (std::abs(a[r][c]) > std::abs(a[pivot][c]))
                pivot = r;
        if (std::abs(a[pivot][c]) < 1e-9 * std::max(1.0, std::abs(a[0][0])))
            return false;
        std::swap(a[c], a[pivot]);
        for (auto& side : b)
            std::swap(side[c], side[pivot]);
        for (int r = 0; r < terms; ++r) {
            if (r == c)
                continue;
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < terms; ++k)
                a[r][k] -= f * a[c][k];
            for (auto& side : b)
                side[r] -= f * side[c];
        }
    }
    // The second unknown is the velocity.
    for (int side = 0; side < 2; ++side)
        velocity[side] = b[side][1] / a[1][1];
    return true;
}

} // namespace

std::optional<Drift> fitDrift(const FlightLog& log, size_t first, size_t last, double circling) {
    struct Fix {
        double time, east, north;
    };
    std::vector<Fix> fixes;
    double meanTime = 0;
    for (size_t i = first; i <= last && i < log.size(); ++i)
        if (!std::isnan(log.east[i])) {
            fixes.push_back({log.axisTime(i), log.east[i], log.north[i]});
            meanTime += fixes.back().time;
        }
    if (fixes.size() < 3)
        return std::nullopt;
    meanTime /= double(fixes.size());

    // Centred time keeps the sums of squares well conditioned.
    for (int terms : {circling != 0 && fixes.size() > 4 ? 4 : 2, 2}) {
        std::array<Row, MaxTerms> a{};
        std::array<Row, 2> b{};
        for (const Fix& fix : fixes) {
            const double t = fix.time - meanTime;
            const Row basis{1, t, std::cos(circling * t), std::sin(circling * t)};
            for (int r = 0; r < terms; ++r) {
                for (int c = 0; c < terms; ++c)
                    a[r][c] += basis[r] * basis[c];
                b[0][r] += basis[r] * fix.east;
                b[1][r] += basis[r] * fix.north;
            }
        }
        std::array<double, 2> velocity{};
        if (!solve(a, b, terms, velocity))
            continue;
        const double east = velocity[0], north = velocity[1];
        double direction = std::atan2(east, north) * 180 / std::numbers::pi;
        if (direction < 0)
            direction += 360;
        return Drift{direction, std::hypot(east, north) * 3.6};
    }
    return std::nullopt;
}
