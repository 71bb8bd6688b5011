#pragma once

#include <functional>
#include <string>

// Message box types: buttons in the low nibble, the icon in the next one.
enum : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNO = 0x04,
    MB_TYPEMASK = 0x0F,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONMASK = 0xF0,
};

// The button that closed a message box.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    unsigned type = MB_OK;
};

// Every message box of the program goes through one handler: the GUI installs one that shows a
// real box, tests install one that records and answers as scripted. Returns the previous one.
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// A box with its own caption, shown as the type says.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type);

// A box under the application's title; an OK box that names no icon gets the exclamation icon.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);
int AfxMessageBox(unsigned idPrompt, unsigned type = MB_OK);
