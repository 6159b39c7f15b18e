#pragma once
// The circular segment: the part of a disc below a horizontal line, the building block of
// every exact volume. Lengths in millimetres, areas in mm².

namespace kelvora::geometry {

// Area of a disc of diameter d filled to height y above its lowest point; y is clamped to
// 0..d, so a line below the disc gives 0 and one above it the whole disc.
long double segmentArea(long double d, long double y);

} // namespace kelvora::geometry
