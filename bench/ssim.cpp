// Mean structural similarity (SSIM) of two gray PGM pictures (P5, 8 bits), as pdftoppm -gray
// writes them: 8 × 8 windows every 4 pixels, the usual constants. Prints one number, 0 to 1.
// Pictures of different sizes compare over their common top-left area.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool readPgm(const char* path, int& width, int& height, std::vector<unsigned char>& pixels)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255 || width < 8 || height < 8)
        return false;
    pixels.resize(static_cast<std::size_t>(width) * height);
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return static_cast<std::size_t>(in.gcount()) == pixels.size();
}

} // namespace

int main(int argc, char** argv)
{
    int wa, ha, wb, hb;
    std::vector<unsigned char> a, b;
    if (argc != 3 || !readPgm(argv[1], wa, ha, a) || !readPgm(argv[2], wb, hb, b)) {
        std::cerr << "usage: ssim A.pgm B.pgm\n";
        return 2;
    }
    const int w = std::min(wa, wb), h = std::min(ha, hb);
    const double c1 = (0.01 * 255) * (0.01 * 255), c2 = (0.03 * 255) * (0.03 * 255);
    double total = 0;
    long windows = 0;
    for (int y = 0; y + 8 <= h; y += 4) {
        for (int x = 0; x + 8 <= w; x += 4) {
            double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
            for (int j = 0; j < 8; ++j) {
                for (int i = 0; i < 8; ++i) {
                    const double pa = a[static_cast<std::size_t>(y + j) * wa + x + i];
                    const double pb = b[static_cast<std::size_t>(y + j) * wb + x + i];
                    sa += pa, sb += pb, saa += pa * pa, sbb += pb * pb, sab += pa * pb;
                }
            }
            const double n = 64, ma = sa / n, mb = sb / n;
            const double va = saa / n - ma * ma, vb = sbb / n - mb * mb, cov = sab / n - ma * mb;
            total += ((2 * ma * mb + c1) * (2 * cov + c2)) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
            ++windows;
        }
    }
    std::printf("%.4f\n", windows ? total / windows : 0.0);
    return 0;
}
