#include "core/least_squares.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmaro {
namespace {

// Column-major copy: the rotations work on whole columns.
using Columns = std::vector<std::vector<double>>;

double Dot(const std::vector<double>& u, const std::vector<double>& v) {
  double sum = 0;
  for (std::size_t i = 0; i < u.size(); ++i) sum += u[i] * v[i];
  return sum;
}

void Rotate(std::vector<double>& p, std::vector<double>& q, double c, double s) {
  for (std::size_t i = 0; i < p.size(); ++i) {
    const double x = p[i];
    const double y = q[i];
    p[i] = c * x - s * y;
    q[i] = s * x + c * y;
  }
}

// One-sided Jacobi: rotates pairs of columns of U (and of V alongside) until every pair is orthogonal to
// working precision. Afterwards A = U V^T with U's columns orthogonal, their lengths the singular values.
void Orthogonalise(Columns& u, Columns& v) {
  const double tolerance = std::numeric_limits<double>::epsilon();
  for (int sweep = 0; sweep < 60; ++sweep) {
    bool rotated = false;
    for (std::size_t p = 0; p + 1 < u.size(); ++p) {
      for (std::size_t q = p + 1; q < u.size(); ++q) {
        const double alpha = Dot(u[p], u[p]);
        const double beta = Dot(u[q], u[q]);
        const double gamma = Dot(u[p], u[q]);
        if (gamma == 0 || std::abs(gamma) <= tolerance * std::sqrt(alpha * beta)) continue;
        rotated = true;
        const double zeta = (beta - alpha) / (2 * gamma);
        const double t = std::copysign(1.0, zeta) / (std::abs(zeta) + std::sqrt(1 + zeta * zeta));
        const double c = 1 / std::sqrt(1 + t * t);
        Rotate(u[p], u[q], c, c * t);
        Rotate(v[p], v[q], c, c * t);
      }
    }
    if (!rotated) return;
  }
}

}  // namespace

LeastSquaresSolution SolveLeastSquares(const DesignMatrix& a, const std::vector<std::vector<double>>& rightHandSides) {
  const int n = a.columns;
  const int m = a.rows();
  LeastSquaresSolution solution;
  solution.parameters.assign(rightHandSides.size(), std::vector<double>(n, 0.0));
  if (n == 0) return solution;

  Columns u(n, std::vector<double>(m));
  Columns v(n, std::vector<double>(n, 0.0));
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < m; ++i) u[j][i] = a.values[static_cast<std::size_t>(i) * n + j];
    v[j][j] = 1;
  }
  Orthogonalise(u, v);

  std::vector<double> sigma(n);
  for (int j = 0; j < n; ++j) sigma[j] = std::sqrt(Dot(u[j], u[j]));
  const auto [smallest, largest] = std::minmax_element(sigma.begin(), sigma.end());
  solution.conditionNumber = (m < n || *smallest == 0) ? std::numeric_limits<double>::infinity()
                                                       : *largest / *smallest;
  if (!std::isfinite(solution.conditionNumber)) return solution;

  // p = V diag(1 / sigma^2) U^T b, U's columns still carrying their lengths sigma.
  for (std::size_t k = 0; k < rightHandSides.size(); ++k) {
    for (int j = 0; j < n; ++j) {
      const double weight = Dot(u[j], rightHandSides[k]) / (sigma[j] * sigma[j]);
      for (int i = 0; i < n; ++i) solution.parameters[k][i] += v[j][i] * weight;
    }
  }
  return solution;
}

}  // namespace velmaro
