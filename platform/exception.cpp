#include "exception.h"

Exception::Exception(QString message)
    : Message(std::move(message)), utf8_(Message.toStdString())
{
}

const char* Exception::what() const noexcept
{
    return utf8_.c_str();
}
