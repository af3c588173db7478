#pragma once
// A desktop entry's main group through GKeyFile, which escapes every value it
// writes: no text can start a key or a group of its own.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

typedef struct _GKeyFile GKeyFile;

class DesktopEntryFile {
public:
    // A new application entry.
    DesktopEntryFile();
    // Null when the file cannot be read as a key file; errorMessage tells why.
    // Only a regular file of at most maxSize bytes is read: a pipe, a
    // device or a socket is refused at once, never waited on.
    static std::optional<DesktopEntryFile> load(const QString& path, QString* errorMessage = nullptr, qint64 maxSize = maxFileSize);
    // Every group, key, translation and comment of data is kept, so that
    // data() gives the same file back.
    static std::optional<DesktopEntryFile> fromData(const QByteArray& data, QString* errorMessage = nullptr);
    // The largest entry of the session that is read.
    static constexpr qint64 maxFileSize = 1024 * 1024;
    // The largest entry Lanternwick writes to stand for one of the session's:
    // it holds such an entry twice, once encoded.
    static constexpr qint64 maxOwnFileSize = 4 * maxFileSize;
    // The contents of a regular file of at most maxSize bytes; null for
    // anything else.
    static std::optional<QByteArray> readRegularFile(const QString& path, QString* errorMessage = nullptr, qint64 maxSize = maxFileSize);
    // Something other than a regular file or a folder (a pipe, a device, a
    // socket) is at path; a missing path is not special.
    static bool isSpecialFile(const QString& path);
    // The permission bits of the file at path (a link followed); -1 when
    // there is none.
    static int fileMode(const QString& path);
    // Writes data to path in one step (AtomicFile: a temporary file synced,
    // then renamed), with the file mode from the start; an existing file is
    // replaced only when replace is set. An errno value, 0 on success.
    static int writeFile(const QString& path, const QByteArray& data, int mode, bool replace);

    QString string(const QString& key) const;
    // The value for the user's language; a value that is not UTF-8 (GIO
    // loads such an entry and leaves the value out) as text().
    QString localeString(const QString& key) const;
    // The value as it stands, read as Latin-1 when it is not UTF-8.
    QString text(const QString& key) const;
    // defaultValue when the key is missing or no boolean.
    bool boolean(const QString& key, bool defaultValue = false) const;
    bool hasKey(const QString& key) const;
    QStringList list(const QString& key) const;
    QStringList keys() const;
    void setString(const QString& key, const QString& value);
    void setBoolean(const QString& key, bool value);
    // With its translations.
    void removeKey(const QString& key);

    QByteArray data() const;
    // The command the launchers run for this entry, as GIO reads it; null
    // when GIO would not run it (no Exec, or a TryExec that is not found).
    std::optional<QString> commandLine() const;

    // One argument of an Exec value: in double quotes with '"', '`', '$' and
    // '\' escaped, and '%' doubled, which every desktop's launcher reads alike.
    static QString quotedArgument(const QString& argument);
    // The words of an Exec value as the launchers split it, field codes left
    // in place; null when it cannot be split or is empty.
    static std::optional<QStringList> commandArguments(const QString& exec);

private:
    struct Unref {
        void operator()(GKeyFile* file) const;
    };
    explicit DesktopEntryFile(GKeyFile* file);

    std::shared_ptr<GKeyFile> m_file;
};
