#pragma once
// The GUI side of the property editor: builds the controls of each property type on a control
// page, handed to the data layer by whoever builds a page.
//
// Row kinds: UNKNOWN, FLOAT number edit; BOOL check box; SLIDER slider; VECTOR3 / VECTOR2 /
// VECTORI2 three / two number edits; TOKEN_EXT combo box over the property's choice list; TOKEN,
// STRING string edit. Each row's label is the property's label text, its help the long text.
// Header: a 32 x 32 icon sprite named after the set (bit 0), the set name in palette colour 30
// (bit 1), and a 200-pixel token edit labelled IDS_PART_TOKEN_S.
//
// The row objects own their controls and take them off the page when destroyed.

struct TPropertyEditorFactory;

// Builds with the sprite list and fonts, so pages are built once those are loaded.
const TPropertyEditorFactory& GuiPropertyEditorFactory();

// Row geometry (pixels from the row's x): label column, then the fields.
constexpr int kPropertyLabelWidth = 150;
constexpr int kPropertyNumberWidth = 90;
constexpr int kPropertyFieldGap = 6;
