// SPDX-License-Identifier: MIT
#pragma once

// The JSON shapes docs/json.md documents, read from the document itself, and a check of a
// command's output against them. A section "### `WORDS`" followed by a ```json block gives the
// shape of WORDS; in a shape, a string "$name" stands for the shape of section `$name`, a key
// "*" for any further keys with values of its shape, and an array's first element for every
// element. Scalars match by type (numbers by number); null in the output matches any scalar.

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kestrix::testing {

class JsonShapes {
  public:
    JsonShapes() {
        std::ifstream file(std::string(KESTRIX_SOURCE_DATA) + "/../docs/json.md");
        std::stringstream text;
        text << file.rdbuf();
        const std::string document = text.str();
        const std::regex section(R"(### `([^`]+)`(?:(?!###)[\s\S])*?```json\n([\s\S]*?)```)");
        for (auto it = std::sregex_iterator(document.begin(), document.end(), section);
             it != std::sregex_iterator(); ++it) {
            const std::string name = (*it)[1];
            m_shapes[name] = nlohmann::json::parse((*it)[2].str(), nullptr, false);
            EXPECT_FALSE(m_shapes[name].is_discarded()) << "docs/json.md: " << name;
        }
    }

    bool Has(const std::string& name) const { return m_shapes.count(name) != 0; }

    // Adds a failure for every place where output differs from the shape of section name.
    void Expect(const std::string& name, const nlohmann::json& output) const {
        ASSERT_TRUE(Has(name)) << "docs/json.md has no section `" << name << "`";
        // The chosen mouse may join any command's object (several mice attached).
        nlohmann::json rest = output;
        if (rest.is_object() && rest.contains("mouse")) {
            Compare(m_shapes.at("$mouse"), rest["mouse"], name + ".mouse");
            rest.erase("mouse");
        }
        Compare(m_shapes.at(name), rest, name);
    }

  private:
    void Compare(const nlohmann::json& shape, const nlohmann::json& output,
                 const std::string& path) const {
        if (shape.is_string() && shape.get<std::string>().starts_with("$")) {
            ASSERT_TRUE(Has(shape.get<std::string>())) << path << ": no section " << shape;
            Compare(m_shapes.at(shape.get<std::string>()), output, path);
            return;
        }
        if (shape.is_object()) {
            ASSERT_TRUE(output.is_object()) << path << ": " << output.dump();
            for (const auto& [key, value] : shape.items()) {
                if (key == "*") continue;
                EXPECT_TRUE(output.contains(key)) << path << ": no \"" << key << "\"";
                if (output.contains(key)) Compare(value, output[key], path + "." + key);
            }
            for (const auto& [key, value] : output.items()) {
                if (shape.contains(key)) continue;
                EXPECT_TRUE(shape.contains("*")) << path << ": undocumented \"" << key << "\"";
                if (shape.contains("*")) Compare(shape["*"], value, path + "." + key);
            }
        } else if (shape.is_array()) {
            ASSERT_TRUE(output.is_array()) << path << ": " << output.dump();
            ASSERT_FALSE(shape.empty()) << path << ": the document shows no element";
            for (const auto& element : output) Compare(shape.front(), element, path + "[]");
        } else if (!output.is_null()) {
            const bool same = shape.is_number()    ? output.is_number()
                              : shape.is_string()  ? output.is_string()
                              : shape.is_boolean() ? output.is_boolean()
                                                   : output.is_null();
            EXPECT_TRUE(same) << path << ": " << output.dump() << " where the document shows "
                              << shape.dump();
        }
    }

    std::map<std::string, nlohmann::json> m_shapes;
};

}  // namespace kestrix::testing
