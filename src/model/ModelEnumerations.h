#pragma once
// Meanings of the integer attributes of the model. The values are stored, so
// they never change.
#include <cstdint>

enum LoginItemType : int32_t {
    LoginItemTypeFile = 0,
    LoginItemTypeDelay = 1,
    LoginItemTypeWaitPrevious = 2,
    LoginItemTypeConditionalPrevious = 3,
};

enum ItemStartupMode : int32_t {
    ItemStartupModeShown = 0,
    ItemStartupModeHidden = 1,
    ItemStartupModeDisabled = 2,
};

enum LoginGroupType : int32_t {
    LoginGroupTypeApplication = 0,
    LoginGroupTypeIgnored = 1,
};

enum ConditionalPreviousItemMode : int32_t {
    ConditionalPreviousItemModeIfLaunched = 0,
    ConditionalPreviousItemModeIfNotLaunched = 1,
};

enum StartupConditionType : int32_t {
    StartupConditionTypeScheduled = 0,
    StartupConditionTypeHotkey = 1,
    StartupConditionTypePowerSource = 2,
    StartupConditionTypeMountedVolume = 3,
    StartupConditionTypeNetwork = 4,
};

// Transient: the answer of the last permission question, never stored.
enum LastExecutionStatus : uint32_t {
    LastExecutionStatusAllowed = 0,
    LastExecutionStatusPreventedByItem = 1,
    LastExecutionStatusPreventedByConditions = 2,
    LastExecutionStatusPreventedByNeighbors = 3,
};

// Any value outside the list is treated as Option.
enum HotkeyCombination : int32_t {
    HotkeyCombinationControl = 0,
    HotkeyCombinationOption = 1,
    HotkeyCombinationShift = 2,
    HotkeyCombinationCommand = 3,
};

enum HotkeyStatus : int32_t {
    HotkeyStatusPressed = 0,
    HotkeyStatusNotPressed = 1,
};

enum PowerSourceType : int32_t {
    PowerSourceTypePowerSupply = 0,
    PowerSourceTypeBattery = 1,
};

enum ScheduleDay : int32_t {
    ScheduleDayMonday = 0,
    ScheduleDayTuesday = 1,
    ScheduleDayWednesday = 2,
    ScheduleDayThursday = 3,
    ScheduleDayFriday = 4,
    ScheduleDaySaturday = 5,
    ScheduleDaySunday = 6,
    ScheduleDayWeekDay = 7,
    ScheduleDayWeekend = 8,
    ScheduleDayEveryDay = 9,
};

enum NetworkMode : int32_t {
    NetworkModeIs = 0,
    NetworkModeNot = 1,
};

enum NetworkStatus : int32_t {
    NetworkStatusAvailable = 0,
    NetworkStatusConnected = 1,
};

enum VolumeStatus : int32_t {
    VolumeStatusMounted = 0,
    VolumeStatusNotMounted = 1,
};
