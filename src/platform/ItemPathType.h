#pragma once

// What opening a path means: starting a program, or handing a file to the
// program that opens its kind of file.
enum ItemPathType : int {
    ItemPathTypeApplication = 0,
    ItemPathTypeDocument = 1,
    ItemPathTypeUnknown = 2,
};
