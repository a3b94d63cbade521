// The interactive view's toolbar: 21 check-group buttons in five groups,
// close enough together that all of them fit across the view's default
// width.
#include "app_state/view_commands.h"
#include "placement/placement.h"
#include "resources/resource_files.h"
#include "windows/interactive_window.h"

namespace {

constexpr int IMAGE_COUNT = 21;
constexpr int BUTTON_PITCH = 23;

const ToolbarEntry toolbar_entries[] = {
    {0, CMD_STOP, TOOL_CHECK_GROUP, "Stop", 1},
    {1, CMD_RUN, TOOL_CHECK_GROUP, "Run", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {2, PLACE_UNASSISTED, TOOL_CHECK_GROUP, "Unassisted", 1},
    {3, PLACE_CIRCLE, TOOL_CHECK_GROUP, "Circle", 0},
    {4, PLACE_CIRCLES, TOOL_CHECK_GROUP, "Circles", 0},
    {5, PLACE_BINARY, TOOL_CHECK_GROUP, "Binary", 0},
    {6, PLACE_RING, TOOL_CHECK_GROUP, "Ring", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {7, SIZE_LARGEST, TOOL_CHECK_GROUP, "Largest", 0},
    {8, SIZE_LARGE, TOOL_CHECK_GROUP, "Large", 0},
    {9, SIZE_MEDIUM, TOOL_CHECK_GROUP, "Medium", 1},
    {10, SIZE_SMALL, TOOL_CHECK_GROUP, "Small", 0},
    {11, SIZE_SMALLEST, TOOL_CHECK_GROUP, "Smallest", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {12, COLOUR_RED, TOOL_CHECK_GROUP, "Red", 1},
    {13, COLOUR_GREEN, TOOL_CHECK_GROUP, "Green", 0},
    {14, COLOUR_BLUE, TOOL_CHECK_GROUP, "Blue", 0},
    {15, COLOUR_MAGENTA, TOOL_CHECK_GROUP, "Magenta", 0},
    {16, COLOUR_YELLOW, TOOL_CHECK_GROUP, "Yellow", 0},
    {17, COLOUR_CYAN, TOOL_CHECK_GROUP, "Cyan", 0},
    {18, COLOUR_WHITE, TOOL_CHECK_GROUP, "White", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {19, MATERIAL_REFLECTIVE, TOOL_CHECK_GROUP, "Reflective", 0},
    {20, MATERIAL_GLOWING, TOOL_CHECK_GROUP, "Glowing", 1},
};
constexpr int ENTRY_COUNT = static_cast<int>(sizeof toolbar_entries / sizeof toolbar_entries[0]);

}  // namespace

Window create_interactive_toolbar(Window window) {
    Window toolbar = create_toolbar(window, INTERACTIVE_TOOLBAR_ID, resource_path(TOOLBAR_INTERACTIVE_IMAGES),
                                    IMAGE_COUNT, toolbar_entries, ENTRY_COUNT);
    toolbar_set_button_pitch(toolbar, BUTTON_PITCH);
    return toolbar;
}

const char* interactive_tooltip(int id) {
    for (const ToolbarEntry& entry : toolbar_entries)
        if (entry.kind != TOOL_SEPARATOR && entry.id == id) return entry.tooltip;
    return nullptr;
}

void enable_placement_buttons(int enabled) {
    for (const ToolbarEntry& entry : toolbar_entries)
        if (entry.id >= PLACEMENT_FIRST_ID && entry.id <= PLACEMENT_LAST_ID)
            toolbar_enable(interactive_toolbar, entry.id, enabled);
}

void enable_material_buttons(int enabled) {
    toolbar_enable(interactive_toolbar, MATERIAL_REFLECTIVE, enabled);
    toolbar_enable(interactive_toolbar, MATERIAL_GLOWING, enabled);
}
