// A small string splitter: each character of the delimiter set ends a token.
//
// Two delimiters in a row give an empty token; a delimiter at the very end of
// the text gives no further token. The typed getters read their token the
// same way and convert it, falling back to a default when it does not read.
#pragma once

#include <string>

class CTokenizer {
public:
    CTokenizer() = default;
    CTokenizer(const std::string& text, const std::string& delimiters);
    virtual ~CTokenizer() = default;

    virtual std::string GetNextToken();
    // With `quoted`, the text between the next pair of double quotes; the
    // rest of the token up to and including the next delimiter is skipped.
    virtual std::string GetNextString(bool quoted = false);
    virtual int GetNextInt(int defaultValue = 0);
    virtual long GetNextLong(long defaultValue = 0);
    // A decimal comma is accepted in place of the point.
    virtual float GetNextFloat(float defaultValue = 0.0f);
    virtual double GetNextDouble(double defaultValue = 0.0);
    // A number (non-zero is true), else "true" or "false" in any letter case.
    virtual bool GetNextBool(bool defaultValue = false);
    virtual bool HasMoreTokens() const;
    virtual void SetDelimiters(const std::string& delimiters);
    virtual void SetString(const std::string& text);

private:
    bool IsDelimiter(char c) const;

    std::string m_text;
    std::string m_delimiters;
    size_t m_position = 0;
};
