#pragma once

#include <QString>

#include <exception>
#include <string>

/// Base of every error the program raises: carries the product's message text,
/// which the application shows as it stands in a message box.
class Exception : public std::exception {
public:
    explicit Exception(QString message);

    const char* what() const noexcept override;

    const QString Message;

private:
    std::string utf8_;
};

/// Declares an exception class of the given name derived from `Base`.
#define QRL_DECLARE_EXCEPTION(Name, Base)                             \
    class Name : public Base {                                        \
    public:                                                           \
        explicit Name(QString message) : Base(std::move(message)) {} \
    }
