#pragma once
// A PDF transformation matrix [a b c d e f]: maps (x, y) to (a x + c y + e, b x + d y + f).

#include <array>

class Matrix {
public:
    Matrix() = default;
    Matrix(double a, double b, double c, double d, double e, double f);

    // This matrix applied after other: the CTM after "other cm" is other * ctm.
    Matrix times(const Matrix& other) const;

    // Lengths of the images of the unit square's sides: the drawn size of an image in units of
    // the space this matrix maps into.
    double xScale() const;
    double yScale() const;

private:
    std::array<double, 6> m{1, 0, 0, 1, 0, 0};
};
