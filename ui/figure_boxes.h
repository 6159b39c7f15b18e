#pragma once
// Where the reference pictures and the banner stand in the window: the picture component,
// its page and its box in window pixels at 120 per inch. The window lays the pictures out
// from this table, the figure generator draws each picture at an integer multiple of its box
// (so stretching it into the box keeps its proportions) and the tests check the decoded
// pictures against it.

#include <cstddef>

namespace kelvora::ui {

enum class FigurePage {
    TabSheet5, // "图一至图八"
    TabSheet6, // "倾斜圆筒"
    TabSheet11, // "立式圆筒"
    Panel4,    // the banner, stretched over the whole panel
};

struct FigureBox {
    int number; // N of ImageN, also the N of figures/imageN.jpg
    const char* name;
    FigurePage page;
    int left, top, width, height;
};

inline constexpr FigureBox figureBoxes[] = {
    {1, "Image1", FigurePage::TabSheet5, 7, 0, 200, 90},      // ellipsoidal head
    {2, "Image2", FigurePage::TabSheet5, 218, 0, 200, 119},   // cone head cut to a frustum
    {3, "Image3", FigurePage::TabSheet5, 5, 297, 200, 121},   // hemispherical head
    {4, "Image4", FigurePage::TabSheet5, 218, 162, 200, 68},  // dished head
    {5, "Image5", FigurePage::TabSheet5, 7, 162, 200, 85},    // spherical-cap head
    {6, "Image6", FigurePage::TabSheet5, 218, 297, 200, 128}, // flat head
    {7, "Image7", FigurePage::TabSheet5, -1, 464, 200, 174},  // horizontal circular cylinder
    {8, "Image8", FigurePage::TabSheet5, 218, 464, 200, 129}, // horizontal elliptic cylinder
    {9, "Image9", FigurePage::TabSheet6, 0, 0, 418, 237},     // inclined tank, low end left
    {10, "Image10", FigurePage::TabSheet6, 0, 477, 418, 273}, // cross-sections, transverse tilt
    {11, "Image11", FigurePage::TabSheet6, 0, 238, 418, 236}, // inclined tank, low end right
    {12, "Image12", FigurePage::Panel4, 0, 0, 697, 260},      // banner, size at the initial layout
    {13, "Image13", FigurePage::TabSheet11, 0, 0, 418, 420},  // vertical cylindrical tank
};

inline constexpr std::size_t figureCount = sizeof figureBoxes / sizeof figureBoxes[0];

// The box of ImageN, or nullptr when there is no such picture.
constexpr const FigureBox* figureBox(int number) {
    for (const FigureBox& box : figureBoxes)
        if (box.number == number) return &box;
    return nullptr;
}

} // namespace kelvora::ui
