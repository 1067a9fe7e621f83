#pragma once

// The exit statuses of every verb, one meaning each whatever the verb, so that a script can tell
// a lesson that cannot be read from a call written wrongly.
enum class Exit : int {
    Done = 0,       // what was asked is done
    Findings = 1,   // what was read says no: a lesson with errors, no register, a file with errors
    Unreadable = 2, // an input cannot be read, or a file that must not be touched is there
    NotWritten = 3, // an output could not be written: any file that was there is as it was
    WrongCall = 64, // the arguments are wrong (the usual number for it, as in sysexits.h)
};

constexpr int status(Exit exit) {
    return static_cast<int>(exit);
}
