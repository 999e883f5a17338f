#pragma once
// Dense linear least squares for the small systems of the model fits: a few columns (at most a dozen),
// a few hundred rows. Solved through the singular value decomposition of the matrix (one-sided Jacobi
// rotations), so a nearly dependent set of columns shows as a large condition number instead of a
// silently wrong answer, and no normal equations square that condition number.

#include <initializer_list>
#include <vector>

namespace velmaro {

// A row-major matrix of `columns` columns; its row count is values.size() / columns.
struct DesignMatrix {
  int columns = 0;
  std::vector<double> values;

  int rows() const { return columns > 0 ? static_cast<int>(values.size()) / columns : 0; }
  void addRow(std::initializer_list<double> row) { values.insert(values.end(), row.begin(), row.end()); }
};

struct LeastSquaresSolution {
  // One parameter vector per right-hand side, each minimising |A p - b|; all zero when the matrix has a
  // zero singular value.
  std::vector<std::vector<double>> parameters;
  // Largest over smallest singular value of A: 1 for orthonormal columns, infinite when the columns are
  // dependent (or there are fewer rows than columns).
  double conditionNumber = 0;
};

// Solves min |A p - b| for each b in rightHandSides (each with A.rows() entries). Columns of very
// different sizes inflate the condition number: callers scale their unknowns to comparable sizes first.
LeastSquaresSolution SolveLeastSquares(const DesignMatrix& a, const std::vector<std::vector<double>>& rightHandSides);

}  // namespace velmaro
