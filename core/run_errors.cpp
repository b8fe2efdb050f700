#include "core/run_errors.hpp"

std::string error_text::NotAFloat(const std::string& text)
{
    return "'" + text + "' ist kein gültiger Gleitkommawert";
}

std::string ErrorReportText(const std::string& text)
{
    if (!text.empty() && text.back() == '.')
        return text;
    return text + ".";
}
