#include "core/model_solvers.h"

#include <algorithm>
#include <cmath>

#include "core/least_squares.h"

namespace velmaro {
namespace {

Matrix3 Multiply(const Matrix3& l, const Matrix3& r) {
  Matrix3 m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[i][j] += l[i][k] * r[k][j];
  return m;
}

using Projective = std::array<double, 8>;  // h11 h12 h13 h21 h22 h23 h31 h32, h33 = 1

double ProjectiveError(const Projective& h, const std::vector<NormalisedPoint>& points) {
  double error = 0;
  for (const auto& [u, v, U, V] : points) {
    const double d = h[6] * u + h[7] * v + 1;
    const double ru = U - (h[0] * u + h[1] * v + h[2]) / d;
    const double rv = V - (h[3] * u + h[4] * v + h[5]) / d;
    error += ru * ru + rv * rv;
  }
  return std::isfinite(error) ? error : HUGE_VAL;
}

LeastSquaresSolution LinearProjective(const std::vector<NormalisedPoint>& points) {
  DesignMatrix a{8, {}};
  std::vector<double> b;
  for (const auto& [u, v, U, V] : points) {
    a.addRow({u, v, 1, 0, 0, 0, -u * U, -v * U});
    b.push_back(U);
    a.addRow({0, 0, 0, u, v, 1, -u * V, -v * V});
    b.push_back(V);
  }
  return SolveLeastSquares(a, {b});
}

// The Gauss-Newton step: the least-squares change of h that cancels the residuals to first order.
LeastSquaresSolution GaussNewtonStep(const Projective& h, const std::vector<NormalisedPoint>& points) {
  DesignMatrix jacobian{8, {}};
  std::vector<double> r;
  for (const auto& [u, v, U, V] : points) {
    const double d = h[6] * u + h[7] * v + 1;
    const double fu = (h[0] * u + h[1] * v + h[2]) / d;
    const double fv = (h[3] * u + h[4] * v + h[5]) / d;
    jacobian.addRow({u / d, v / d, 1 / d, 0, 0, 0, -u * fu / d, -v * fu / d});
    r.push_back(U - fu);
    jacobian.addRow({0, 0, 0, u / d, v / d, 1 / d, -u * fv / d, -v * fv / d});
    r.push_back(V - fv);
  }
  return SolveLeastSquares(jacobian, {r});
}

}  // namespace

Normalisation Normalise(const std::vector<Place>& places) {
  Normalisation n;
  const double count = static_cast<double>(places.size());
  for (const auto& [x, y] : places) n.cx += x, n.cy += y;
  n.cx /= count;
  n.cy /= count;
  double sum = 0;
  for (const auto& [x, y] : places) sum += (x - n.cx) * (x - n.cx) + (y - n.cy) * (y - n.cy);
  n.rms = std::sqrt(sum / count);
  n.scale = n.rms > 0 ? std::sqrt(2.0) / n.rms : 1;
  return n;
}

NormalisedFit SolveHelmert(const std::vector<NormalisedPoint>& points, Handedness handedness) {
  const double s = handedness == Handedness::Map ? 1 : -1;
  DesignMatrix a{4, {}};
  std::vector<double> b;
  for (const auto& [u, v, U, V] : points) {
    a.addRow({u, s * v, 1, 0});
    b.push_back(U);
    a.addRow({-s * v, u, 0, 1});
    b.push_back(V);
  }
  const LeastSquaresSolution solution = SolveLeastSquares(a, {b});
  const std::vector<double>& k = solution.parameters[0];
  const double p = k[0], q = k[1], e = k[2], f = k[3];
  double error = 0;
  for (const auto& [u, v, U, V] : points) {
    const double ru = U - (p * u + s * q * v + e);
    const double rv = V - (q * u - s * p * v + f);
    error += ru * ru + rv * rv;
  }
  return {{{{p, s * q, e}, {q, -s * p, f}, {0, 0, 1}}}, solution.conditionNumber, error};
}

NormalisedFit SolveAffine(const std::vector<NormalisedPoint>& points) {
  DesignMatrix a{3, {}};
  std::vector<double> bx, by;
  for (const auto& [u, v, U, V] : points) {
    a.addRow({u, v, 1});
    bx.push_back(U);
    by.push_back(V);
  }
  const LeastSquaresSolution s = SolveLeastSquares(a, {bx, by});
  const std::vector<double>& px = s.parameters[0];
  const std::vector<double>& py = s.parameters[1];
  double error = 0;
  for (const auto& [u, v, U, V] : points) {
    const double ru = U - (px[0] * u + px[1] * v + px[2]);
    const double rv = V - (py[0] * u + py[1] * v + py[2]);
    error += ru * ru + rv * rv;
  }
  return {{{{px[0], px[1], px[2]}, {py[0], py[1], py[2]}, {0, 0, 1}}}, s.conditionNumber, error};
}

NormalisedFit SolveProjective(const std::vector<NormalisedPoint>& points) {
  LeastSquaresSolution step = LinearProjective(points);
  Projective h;
  std::copy(step.parameters[0].begin(), step.parameters[0].end(), h.begin());
  double error = ProjectiveError(h, points);
  for (int iteration = 0; iteration < 50 && std::isfinite(step.conditionNumber); ++iteration) {
    step = GaussNewtonStep(h, points);
    // Near the solution the squared error changes by less than its own rounding and cannot judge the
    // last steps: a step is taken unless it makes the error clearly worse (then it is halved, which keeps
    // the descent safe far from the solution), and the iteration ends when the steps stop moving.
    double moved = 0;
    bool taken = false;
    for (double fraction = 1; fraction > 1e-6 && !taken; fraction /= 2) {
      Projective trial = h;
      for (int i = 0; i < 8; ++i) trial[i] += fraction * step.parameters[0][i];
      const double trialError = ProjectiveError(trial, points);
      if (trialError <= error * (1 + 1e-12)) {
        for (int i = 0; i < 8; ++i) moved = std::max(moved, std::abs(trial[i] - h[i]));
        h = trial;
        error = trialError;
        taken = true;
      }
    }
    if (!taken || moved <= 1e-15) break;
  }
  return {{{{h[0], h[1], h[2]}, {h[3], h[4], h[5]}, {h[6], h[7], 1}}}, step.conditionNumber, error};
}

Matrix3 Denormalise(const Matrix3& h, const Normalisation& picture, const Normalisation& map) {
  const Matrix3 toNormal = {{{picture.scale, 0, -picture.scale * picture.cx},
                             {0, picture.scale, -picture.scale * picture.cy},
                             {0, 0, 1}}};
  const Matrix3 fromNormal = {{{1 / map.scale, 0, map.cx}, {0, 1 / map.scale, map.cy}, {0, 0, 1}}};
  return Multiply(fromNormal, Multiply(h, toNormal));
}

}  // namespace velmaro
