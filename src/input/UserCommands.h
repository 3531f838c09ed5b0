#pragma once
// The user-command vocabulary: every program function the user can ask for by key, joystick
// button or menu, with its group, default key and the key states that trigger it. Receivers of
// events test these indices, never raw keys.
//
// Texts: the short and long text of command i (1..119) are the string-table entries
// "IDS_" + name + "_S" and "_L"; command 0 has the fixed texts "UC NULL S" / "UC NULL L".

#include <cstdint>

#include "input/CInputEvent.h"

enum EUserCommand : uint32_t
{
    UC_NULL = 0,
    UC_APP_LOAD_MODEL,
    UC_APP_SAVE_MODEL,
    UC_APP_PAUSE,
    UC_APP_PAUSE_STEP,
    UC_APP_VIDEO_SYNC,
    UC_APP_ABOUT,
    UC_APP_EXIT_APPLICATION,
    UC_VIEW_TOGGLE_FULL_SCREEN,
    UC_VIEW_CLOSE_UP_WINDOW,
    UC_VIEW_INSTRUMENT_PANEL, // 10
    UC_VIEW_MODEL_FORCES,
    UC_VIEW_MODEL_PHYSIC,
    UC_VIEW_MODEL_ARTISTIC,
    UC_VIEW_SHOW_MODEL_SHADOW,
    UC_MODEL_RESET_POSITION,
    UC_MODEL_SET_ALTITUDE_100M,
    UC_MODEL_SET_ALTITUDE_500M,
    UC_MODEL_TURN_UPRIGHT,
    UC_MODEL_PAUSE,
    UC_MODEL_PAUSE_STEP, // 20
    UC_MODEL_EDITOR,
    UC_SOUND_CONFIG,
    UC_SOUND_ENGINE_ENABLE,
    UC_AMBIENT_WIND_CONFIG,
    UC_AMBIENT_TIMEOFDAY_MORNING,
    UC_AMBIENT_TIMEOFDAY_MIDDAY,
    UC_AMBIENT_TIMEOFDAY_NIGHT,
    UC_GR_EDIT_MASS_DISTRIB,
    UC_GR_EDIT_SHOW_GRID,
    UC_GR_EDIT_VIEW_TOP, // 30
    UC_GR_EDIT_VIEW_BOTTOM,
    UC_GR_EDIT_VIEW_LEFT,
    UC_GR_EDIT_VIEW_RIGHT,
    UC_GR_EDIT_VIEW_FRONT,
    UC_GR_EDIT_VIEW_BACK,
    UC_GR_EDIT_VIEW_NEXT,
    UC_GR_EDIT_VIEW_PREV,
    UC_DLG_EDIT_MODEL_NEXT_PART,
    UC_DLG_EDIT_MODEL_PREV_PART,
    UC_DLG_EDIT_MODEL_UNDO, // 40
    UC_DLG_EDIT_MODEL_REDO,
    UC_DLG_DELETE_PART,
    UC_DLG_NEW_PART_COLLISION_POINT,
    UC_DLG_NEW_PART_DRAG,
    UC_DLG_NEW_PART_ENGINE_PROP,
    UC_DLG_NEW_PART_GRAVITY,
    UC_DLG_NEW_PART_INPUT_FORCE,
    UC_DLG_NEW_PART_SERVO,
    UC_DLG_NEW_PART_PROPELLER,
    UC_DLG_NEW_PART_VARIABLE, // 50
    UC_DLG_NEW_PART_WHEEL3,
    UC_DLG_NEW_PART_WHEEL,
    UC_DLG_NEW_PART_WING2,
    UC_DLG_NEW_PART_WING3,
    UC_DLG_NEW_PART_MODEL_INFO,
    UC_DLG_NEW_PART_BATTERY,
    UC_DLG_NEW_PART_FUEL_TANK,
    UC_CAMERA_MODE_LOOK_AT,
    UC_CAMERA_MODE_FOLLOW,
    UC_CAMERA_MODE_FREE, // 60
    UC_CAMERA_MODE_ATTACHED,
    UC_CAMERA_RESET_POSITION,
    UC_CAMERA_AUTOZOOM,
    UC_CAMERA_ZOOM_IN,
    UC_CAMERA_ZOOM_OUT,
    UC_CAMERA_MODIF_ROT_TRANSL,
    UC_CAMERA_LEFT,
    UC_CAMERA_RIGHT,
    UC_CAMERA_UP,
    UC_CAMERA_DOWN, // 70
    UC_CAMERA_FORWARD,
    UC_CAMERA_BACKWARDS,
    UC_CAMERA_ROLL_LEFT,
    UC_CAMERA_ROLL_RIGHT,
    UC_CAMERA_BRAKES,
    UC_RECORDING_START,
    UC_RECORDING_STOP,
    UC_RECORDING_PLAY,
    UC_MENU_CONTROLLER,
    UC_MENU_RADIO_TX, // 80
    UC_MENU_KEY_AXIS,
    UC_MENU_KEY_DEF,
    UC_KEYAXIS_1_INC,
    UC_KEYAXIS_1_DEC,
    UC_KEYAXIS_2_INC,
    UC_KEYAXIS_2_DEC,
    UC_KEYAXIS_3_INC,
    UC_KEYAXIS_3_DEC,
    UC_KEYAXIS_4_INC,
    UC_KEYAXIS_4_DEC, // 90
    UC_KEYAXIS_5_INC,
    UC_KEYAXIS_5_DEC,
    UC_KEYAXIS_6_INC,
    UC_KEYAXIS_6_DEC,
    UC_DEBUG_FPS,
    UC_DEBUG_VARIABLES,
    UC_DEBUG_CAMERA,
    UC_DEBUG_COLISION_TRINGLES,
    UC_DEBUG_TIME_OF_DAY,
    UC_DEBUG_GRAPHIC_STATE, // 100
    UC_DEBUG_WIREFRAME,
    UC_DEBUG_SCENEGRAPH_STATS,
    UC_DEBUG_SCENE_MAIN,
    UC_DEBUG_SCENE_OBJECT_ADMIN,
    UC_DEBUG_VDB_OBJECT_ADMIN,
    UC_DEBUG_TEXTURE_INFO,
    UC_DEBUG_FONTS,
    UC_DEBUG_SOUND_ADMIN,
    UC_DEBUG_TIME_STATS,
    UC_DEBUG_TIME_HOG, // 110
    UC_DEBUG_INPUT_DATA,
    UC_DEBUG_KEY_EVENTS,
    UC_DEBUG_MOUSE_RECTS,
    UC_DEBUG_CONTROL_PAGE_BOUNDING_RECTS,
    UC_DEBUG_STRINGS,
    UC_DEBUG_INERTIA,
    UC_DEBUG_PART_INFO,
    UC_DEBUG_SELECT_PREV_PART,
    UC_DEBUG_SELECT_NEXT_PART,
    UC_UNDEFINED = 120, // no command; also "consumed without a command" for receivers
};

constexpr int kUserCommandCount = 120; // commands 0..119 (UC_UNDEFINED excluded)

enum EUserCommandGroup : uint32_t
{
    UCG_APP = 0,
    UCG_VIEW = 1,
    UCG_MODEL = 2,
    UCG_SOUND = 3,
    UCG_CAM = 4,
    UCG_AMBIENT = 5,
    UCG_GR_EDIT = 6,
    UCG_DL_EDIT = 7,
    UCG_REC = 8,
    UCG_CTRL = 9,
    UCG_DEBUG = 10,
    UCG_NONE = 12,
};
constexpr int kUserCommandGroupCount = 11; // groups 0..10

// Menu flags of a command descriptor.
constexpr uint32_t UCM_HIDDEN = 1; // not offered in the key-definition menu
constexpr uint32_t UCM_GAP = 4;    // menus leave 8 extra pixels after this command

// One row of the static command table.
struct SUserCommandDesc
{
    uint32_t group;         // EUserCommandGroup
    uint32_t command;       // its own index
    const char* defaultKey; // key text form ("CTRL+O"); "" for no default key
    uint32_t stateMask;     // IE_GOING_DOWN / IE_GOING_UP / IE_IS_DOWN bits that trigger it
    uint32_t menuFlags;     // UCM_ bits
};

// The descriptor of command 0..119, or null.
const SUserCommandDesc* UserCommandDesc(uint32_t command);

// "UC_NULL" .. "UC_UNDEFINED" for 0..120; "" outside.
const char* UserCommandName(uint32_t command);
// Exact, case-sensitive lookup over the 121 names; -1 when not found.
int LookupUserCommand(const char* name);

// The command's short and long texts from the string table (looked up on every call, so a
// table loaded later is seen); "" outside 0..119.
const char* UserCommandShortText(uint32_t command);
const char* UserCommandLongText(uint32_t command);
// The group's texts ("IDS_UCG_APP_S" ...); "" for group 12 and anything outside 0..10.
const char* UserCommandGroupShortText(uint32_t group);
const char* UserCommandGroupLongText(uint32_t group);
