#include "platform/quicktime/GrafPortRecord.h"

#include "platform/quicktime/Layer.h"

namespace qt {

GrafPortRecord::GrafPortRecord(Kind kind) : kind(kind) {
    detail::Layer::Instance().ports.insert(this);
}

GrafPortRecord::~GrafPortRecord() {
    detail::Layer::Instance().ports.erase(this);
}

namespace {

RGBColor Color8(int red, int green, int blue) {
    return {static_cast<std::uint16_t>(red * 257), static_cast<std::uint16_t>(green * 257),
            static_cast<std::uint16_t>(blue * 257)};
}

constexpr int kStandard16[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

} // namespace

ColorTable StandardColorTable(int depth) {
    ColorTable table{};
    int count = 0;
    auto add = [&](RGBColor color) {
        table.ctTable[count].value = static_cast<std::int16_t>(count);
        table.ctTable[count].rgb = color;
        ++count;
    };
    switch (depth) {
    case 1:
        add(Color8(0, 0, 0));
        add(Color8(255, 255, 255));
        break;
    case 2:
        for (int level : {0, 85, 170, 255}) {
            add(Color8(level, level, level));
        }
        break;
    case 4:
        for (const auto& color : kStandard16) {
            add(Color8(color[0], color[1], color[2]));
        }
        break;
    default:
        for (int red = 0; red < 6; ++red) {
            for (int green = 0; green < 6; ++green) {
                for (int blue = 0; blue < 6; ++blue) {
                    add(Color8(red * 51, green * 51, blue * 51));
                }
            }
        }
        for (int grey = 1; grey <= 40; ++grey) {
            const int level = grey * 255 / 41;
            add(Color8(level, level, level));
        }
        break;
    }
    table.ctSize = static_cast<std::int16_t>(count - 1);
    return table;
}

} // namespace qt
