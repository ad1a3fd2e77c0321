#include "server/glicko.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zarv::server {

namespace {

// Glicko-2 works on its own scale: mu = (r - 1500) / 173.7178.
constexpr double kScale = 173.7178;
constexpr double kCentre = 1500;
constexpr double kEpsilon = 0.000001;  // the volatility's convergence tolerance

double G(double phi) { return 1 / std::sqrt(1 + 3 * phi * phi / (std::numbers::pi * std::numbers::pi)); }

double E(double mu, double muJ, double phiJ) { return 1 / (1 + std::exp(-G(phiJ) * (mu - muJ))); }

// Step 5: the new volatility, by the Illinois algorithm.
double NewVolatility(double sigma, double phi, double v, double delta, double tau) {
    const double a = std::log(sigma * sigma);
    auto f = [&](double x) {
        const double ex = std::exp(x);
        const double d = phi * phi + v + ex;
        return ex * (delta * delta - phi * phi - v - ex) / (2 * d * d) - (x - a) / (tau * tau);
    };
    double A = a, B;
    if (delta * delta > phi * phi + v) {
        B = std::log(delta * delta - phi * phi - v);
    } else {
        int k = 1;
        while (f(a - k * tau) < 0) ++k;
        B = a - k * tau;
    }
    double fA = f(A), fB = f(B);
    for (int turn = 0; turn < 100 && std::abs(B - A) > kEpsilon; ++turn) {
        const double C = A + (A - B) * fA / (fB - fA);
        const double fC = f(C);
        if (fC * fB <= 0) {
            A = B;
            fA = fB;
        } else {
            fA /= 2;
        }
        B = C;
        fB = fC;
    }
    return std::exp(A / 2);
}

} // namespace

double ExpectedScore(const Rating& player, double opponentRating, double opponentDeviation) {
    return E((player.rating - kCentre) / kScale, (opponentRating - kCentre) / kScale, opponentDeviation / kScale);
}

Rating Updated(const Rating& before, const std::vector<RatedResult>& results, double tau) {
    const double mu = (before.rating - kCentre) / kScale;
    const double phi = before.deviation / kScale;
    Rating after = before;
    if (results.empty()) {
        after.deviation = std::min(kMaxDeviation, std::sqrt(phi * phi + before.volatility * before.volatility) * kScale);
        return after;
    }
    double vInverse = 0, sum = 0;
    for (const RatedResult& r : results) {
        const double muJ = (r.opponentRating - kCentre) / kScale, phiJ = r.opponentDeviation / kScale;
        const double g = G(phiJ), e = E(mu, muJ, phiJ);
        vInverse += g * g * e * (1 - e);
        sum += g * (r.score - e);
    }
    const double v = 1 / vInverse;
    const double delta = v * sum;
    const double sigma = NewVolatility(before.volatility, phi, v, delta, tau);
    const double phiStar = std::sqrt(phi * phi + sigma * sigma);
    const double phiNew = 1 / std::sqrt(1 / (phiStar * phiStar) + 1 / v);
    after.rating = kCentre + kScale * (mu + phiNew * phiNew * sum);
    after.deviation = std::min(kMaxDeviation, kScale * phiNew);
    after.volatility = sigma;
    return after;
}

} // namespace zarv::server
