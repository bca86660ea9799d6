#include "Matrix.h"

#include <cmath>

Matrix::Matrix(double a, double b, double c, double d, double e, double f) : m{a, b, c, d, e, f} {}

Matrix Matrix::times(const Matrix& o) const
{
    // [this] x [o], row vectors as in the PDF reference.
    return Matrix(m[0] * o.m[0] + m[1] * o.m[2], m[0] * o.m[1] + m[1] * o.m[3],
                  m[2] * o.m[0] + m[3] * o.m[2], m[2] * o.m[1] + m[3] * o.m[3],
                  m[4] * o.m[0] + m[5] * o.m[2] + o.m[4], m[4] * o.m[1] + m[5] * o.m[3] + o.m[5]);
}

double Matrix::xScale() const
{
    return std::hypot(m[0], m[1]);
}

double Matrix::yScale() const
{
    return std::hypot(m[2], m[3]);
}
