#pragma once
// Ownership of GLib objects, strings and errors in C++ scopes.
#include <QString>
#include <gio/gio.h>
#include <memory>

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GioPtr = std::unique_ptr<T, GObjectUnref>;

struct GFreeDeleter {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;

// Takes a string GLib hands over, turning null into an empty text.
inline QString takeGString(char* text)
{
    const GCharPtr owned(text);
    return QString::fromUtf8(text);
}

// Takes the message of an error GLib filled in, and frees the error.
inline QString takeErrorMessage(GError* error)
{
    if (!error)
        return QStringLiteral("unknown error");
    const QString message = QString::fromUtf8(error->message);
    g_error_free(error);
    return message;
}
