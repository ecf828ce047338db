#include "string_tokenizer.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>

CTokenizer::CTokenizer(const std::string& text, const std::string& delimiters)
    : m_text(text), m_delimiters(delimiters) {}

bool CTokenizer::IsDelimiter(char c) const {
    return m_delimiters.find(c) != std::string::npos;
}

std::string CTokenizer::GetNextToken() {
    std::string token;
    while (m_position < m_text.size()) {
        char c = m_text[m_position++];
        if (IsDelimiter(c)) break;
        token += c;
    }
    return token;
}

std::string CTokenizer::GetNextString(bool quoted) {
    if (!quoted) return GetNextToken();
    while (m_position < m_text.size() && m_text[m_position] != '"')
        ++m_position;
    if (m_position < m_text.size()) ++m_position; // the opening quote
    std::string token;
    while (m_position < m_text.size()) {
        char c = m_text[m_position++];
        if (c == '"') break;
        token += c;
    }
    while (m_position < m_text.size()) {
        if (IsDelimiter(m_text[m_position++])) break;
    }
    return token;
}

int CTokenizer::GetNextInt(int defaultValue) {
    std::string token = GetNextToken();
    int value;
    return std::sscanf(token.c_str(), "%d", &value) == 1 ? value : defaultValue;
}

long CTokenizer::GetNextLong(long defaultValue) {
    std::string token = GetNextToken();
    long value;
    return std::sscanf(token.c_str(), "%ld", &value) == 1 ? value : defaultValue;
}

float CTokenizer::GetNextFloat(float defaultValue) {
    std::string token = GetNextToken();
    std::replace(token.begin(), token.end(), ',', '.');
    float value;
    return std::sscanf(token.c_str(), "%g", &value) == 1 ? value : defaultValue;
}

double CTokenizer::GetNextDouble(double defaultValue) {
    std::string token = GetNextToken();
    std::replace(token.begin(), token.end(), ',', '.');
    double value;
    return std::sscanf(token.c_str(), "%lg", &value) == 1 ? value : defaultValue;
}

bool CTokenizer::GetNextBool(bool defaultValue) {
    std::string token = GetNextToken();
    int value;
    if (std::sscanf(token.c_str(), "%d", &value) == 1) return value != 0;
    if (strcasecmp(token.c_str(), "true") == 0) return true;
    if (strcasecmp(token.c_str(), "false") == 0) return false;
    return defaultValue;
}

bool CTokenizer::HasMoreTokens() const {
    return m_position != m_text.size();
}

void CTokenizer::SetDelimiters(const std::string& delimiters) {
    m_delimiters = delimiters;
}

void CTokenizer::SetString(const std::string& text) {
    m_text = text;
    m_position = 0;
}
