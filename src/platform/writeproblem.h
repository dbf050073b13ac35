#pragma once

// What went wrong, as far as the user can do something about it.
enum class WriteProblem
{
    None,
    AlreadyExists, // CreateNew found the name taken
    NoPermission,
    ReadOnlyFile, // Replace met a file marked read-only (Windows)
    ReadOnlyMedium,
    DiskFull,
    NameTooLong,
    FolderGone,
    IsFolder,
    NotEncoded, // the image could not be made into the file's format
    Unknown,
};
