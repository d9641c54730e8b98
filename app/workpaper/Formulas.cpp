#include "Formulas.h"

namespace workpaper::Formulas {

namespace {

std::string PowerOfTen(int n) { return "1" + std::string(static_cast<std::size_t>(n), '0'); }

// The whole number nearest to t (exact, e.g. a value scaled by a power of two), a tie to
// the even one; t is repeated in the text.
std::string NearestEven(const std::string& t) {
    const std::string i = "INT(" + t + ")";
    return i + "+IF(" + t + "-" + i + ">0.5,1,IF(" + t + "-" + i + "<0.5,0,MOD(" + i + ",2)))";
}

}  // namespace

std::string Round(const std::string& cell, int decimals, Tie tie) {
    const std::string a = "ABS(" + cell + ")";
    const std::string scale = PowerOfTen(decimals);
    const std::string k = "INT(" + a + "*" + scale + ")";
    // High part of a: 25 bits (Veltkamp's split with 2^28 + 1).
    const std::string h = "(" + a + "*268435457-(" + a + "*268435457-" + a + "))";
    const std::string twoScale = "2" + scale.substr(1);  // 2 x 10^n
    // a x 2 x 10^n - (2k + 1) = X + Y, X = h x 2 x 10^n - (2k + 1), Y = (a - h) x 2 x 10^n.
    const std::string x = "(" + h + "*" + twoScale + "-(2*" + k + "+1))";
    const std::string minusY = "(" + h + "-" + a + ")*" + twoScale;
    const std::string up = tie == Tie::Even ? "IF(" + x + ">" + minusY + ",1,IF(" + x + "<" +
                                                  minusY + ",0,MOD(" + k + ",2)))"
                                            : "IF(" + x + ">=" + minusY + ",1,0)";
    return "SIGN(" + cell + ")*(" + k + "+" + up + ")/" + scale;
}

std::string Fifteen(const std::string& cell) {
    return "IF(" + cell + "=0,0,ROUND(" + cell + ",14-INT(LOG10(ABS(" + cell + ")))))";
}

std::string WholeUnits(const std::string& cell) {
    // Millionths of the magnitude, k; whole part of k / 10^6, and one more from .49995 on
    // (from there the four-decimal value is .5000 or more).
    const std::string k = "ROUND(ABS(" + cell + ")*1000000,0)";
    return "SIGN(" + cell + ")*(INT(" + k + "/1000000)+(MOD(" + k + ",1000000)>=499950))";
}

std::string SingleScale(const std::string& cell) {
    return "IF(" + cell + "=0,1,2^(23-INT(LOG(ABS(" + cell + "),2))))";
}

std::string Single(const std::string& cell, const std::string& scaleCell) {
    return "(" + NearestEven(cell + "*" + scaleCell) + ")/" + scaleCell;
}

}  // namespace workpaper::Formulas
