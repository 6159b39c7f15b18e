#include "capacity/head_components.h"

namespace kelvora::capacity {

namespace {

constexpr auto h = &HeadDims::h;
constexpr auto H = &HeadDims::H;
constexpr auto D2 = &HeadDims::D2;
constexpr auto Ri = &HeadDims::Ri;

constexpr HeadSide side(std::string_view radio) { return {radio, {}, 0}; }
constexpr HeadSide side(std::string_view radio, HeadField a) { return {radio, {a, {}, {}}, 1}; }
constexpr HeadSide side(std::string_view radio, HeadField a, HeadField b) { return {radio, {a, b, {}}, 2}; }
constexpr HeadSide side(std::string_view radio, HeadField a, HeadField b, HeadField c) {
    return {radio, {a, b, c}, 3};
}

const std::array<HeadComponents, 8> kHeads{{
    {THeadKind::hkEllipsoidal, "图一 椭圆(椭球)封头", side("RadioButton15", {"Edit21", h}, {"Edit22", H}),
     side("RadioButton8", {"Edit10", h}, {"Edit11", H}), "ellipsoidal"},
    {THeadKind::hkCone, "图二 圆锥封头", side("RadioButton16", {"Edit23", h}, {"Edit24", H}),
     side("RadioButton9", {"Edit12", h}, {"Edit14", H}), "cone"},
    {THeadKind::hkFrustum, "图二 圆台封头", side("RadioButton17", {"Edit25", h}, {"Edit26", H}, {"Edit28", D2}),
     side("RadioButton10", {"Edit15", h}, {"Edit16", H}, {"Edit18", D2}), "frustum"},
    {THeadKind::hkSphericalCap, "图三 球缺封头", side("RadioButton18", {"Edit27", H}),
     side("RadioButton11", {"Edit17", H}), "cap"},
    {THeadKind::hkStandardDished, "图四 标准碟形封头", side("RadioButton19", {"Edit19", h}),
     side("RadioButton12", {"Edit20", h}), "dished"},
    {THeadKind::hkNonStandardDished, "图四 非标碟形封头",
     side("RadioButton5", {"Edit38", h}, {"Edit43", H}, {"Edit44", Ri}),
     side("RadioButton6", {"Edit45", h}, {"Edit46", H}, {"Edit47", Ri}), "dished_custom"},
    {THeadKind::hkHemispherical, "图五 半球形封头", side("RadioButton20"), side("RadioButton13"), "hemisphere"},
    {THeadKind::hkFlat, "图六 平板封头", side("RadioButton21"), side("RadioButton14"), "flat"},
}};

constexpr std::array<std::string_view, 10> kExcludable{
    "RadioButton16", "RadioButton17", "RadioButton19", "RadioButton5", "RadioButton20",
    "RadioButton9",  "RadioButton10", "RadioButton12", "RadioButton6", "RadioButton13",
};

} // namespace

std::span<const HeadComponents> headComponents() { return kHeads; }
std::span<const std::string_view> excludableHeadButtons() { return kExcludable; }

} // namespace kelvora::capacity
