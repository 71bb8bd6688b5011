#pragma once

#include <cstdint>
#include <string>

// What the question file needs of the application: where the data file is, the folder of the
// default data file, the clock and a way to tell the user what happened on the way.
class IQuestionFileHost {
public:
    virtual std::string GetDataFilePath() const = 0;
    virtual void SetDataFilePath(const std::string& path) = 0;
    // Ends in a '/'.
    virtual std::string GetProgramFolder() const = 0;
    // Where the default data file lives, ending in a '/': the program's folder unless the
    // application keeps it elsewhere.
    virtual std::string GetDefaultDataFolder() const;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::int32_t GetCurrentTime() const;
    // A word that does not stop the operation: another file opened instead, a range done.
    virtual void Notify(const std::string& message) = 0;

protected:
    ~IQuestionFileHost() = default;
};
