// Number pictures and axis maths: any picture and value format without fault;
// any range and line give at most MaxTicks ticks on drawable pixels.
#include "core/plot/PlotScale.h"
#include "core/text/NumberFormat.h"
#include "tests/fuzz/FuzzFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const double value = input.ConsumeFloatingPoint<double>();
    const double a = input.ConsumeFloatingPoint<double>();
    const double b = input.ConsumeFloatingPoint<double>();
    const quint32 flags = input.ConsumeIntegral<quint32>()
        & ~quint32(Tsp_Scale::sfVertical | Tsp_Scale::sfOppositeSide);
    const int length = input.ConsumeIntegralInRange(-40000, 40000);
    const int ticks = input.ConsumeIntegralInRange(-5, 40);
    const QString picture = QString::fromStdString(input.ConsumeRemainingBytesAsString());

    NumberFormat::format(picture, value, u'.', u',');

    Tsp_Scale scale(input.ConsumeBool() ? Tsp_Scale::sfVertical : 0);
    scale.setFlags(flags | (scale.flags() & Tsp_Scale::sfVertical));
    scale.SetLinePos(0, 0, length);
    scale.setTicksCount(ticks);
    scale.SetMinMax(a, b);
    scale.setLabelFormat(picture);
    FUZZ_CHECK(scale.ticksCount() >= 0 && scale.ticksCount() <= Tsp_Scale::MaxTicks);
    for (int i = 0; i < scale.ticksCount(); ++i) {
        FUZZ_CHECK(std::abs(scale.tickPixel(i)) <= Tsp_Scale::PixelLimit);
        scale.tickLabelValue(i);
    }
    FUZZ_CHECK(std::abs(scale.ValueToPixel(value)) <= Tsp_Scale::PixelLimit);
    scale.PixelToValue(length / 2.0);
    return 0;
}
