#include "effects/squeezr/GainCurve.h"

#include <cmath>

namespace {

// Every power here takes an exponent rounded to a float first.
float pow10Rounded(double exponent)
{
    return static_cast<float>(std::pow(10.0, static_cast<double>(static_cast<float>(exponent))));
}

float dbOf(float linear)
{
    return static_cast<float>(20.0 * std::log10(static_cast<double>(linear)));
}

} // namespace

GainCurve::GainCurve() : table(new float[kSize + 1])
{
    for (int i = 0; i <= kSize; ++i) table[i] = 1.0f;
}

float GainCurve::setKnee(float threshold, float amount)
{
    const float thresholdLin = pow10Rounded(static_cast<double>(threshold) * 0.05);
    if (amount == 0.0f) {
        top = bottom = thresholdLin;
    } else {
        top = pow10Rounded((static_cast<double>(amount) * 6.0 + threshold) * 0.05);
        bottom = pow10Rounded((static_cast<double>(dbOf(top)) - amount * 12.0) * 0.05);
    }
    thresholdDb = dbOf(thresholdLin);
    knee = amount;
    bottomDb = dbOf(bottom);
    return thresholdDb;
}

void GainCurve::build(float ratio)
{
    const double r = ratio;
    const double threshold = thresholdDb;
    const double kneeWidth = static_cast<double>(knee) * 12.0;
    const double kneeBottomDb = bottomDb;
    const double kneeTopDb = static_cast<double>(knee) * 6.0 + threshold;
    float* curve = table.get();
    for (int i = 0; i < kSize; ++i) {
        const float a = static_cast<float>(i + 1) / static_cast<float>(kSize);
        const double aDb = dbOf(a);
        double g;
        if (r <= 1.0) {
            if (a <= bottom) {
                curve[i] = 1.0f;
                continue;
            }
            g = (threshold - aDb) * (1.0 - r);
            if (a <= top) g = g * (aDb - kneeBottomDb) / kneeWidth;
        } else {
            if (a > top) {
                curve[i] = 1.0f;
                continue;
            }
            g = (aDb - threshold) * (r - 1.0);
            if (a > bottom) g = g * (kneeTopDb - aDb) / kneeWidth;
        }
        curve[i] = pow10Rounded(g * 0.05);
    }
    curve[kSize] = curve[kSize - 1];
}
