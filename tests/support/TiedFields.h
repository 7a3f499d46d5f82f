#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace NSQuilletTest {

// A settings value that compares as the tuple of its fields.
template <class T, class = void>
struct THasTiedFields : std::false_type {};
template <class T>
struct THasTiedFields<T, std::void_t<decltype(std::declval<const T&>().Tied())>> : std::true_type {};

template <class T>
void CollectEqualFields(const T& a, const T& b, const std::string& path, std::vector<std::string>& equal);

template <class TTuple, size_t... I>
void CollectEqualTiedFields(const TTuple& a, const TTuple& b, const std::string& path, std::vector<std::string>& equal,
                            std::index_sequence<I...>) {
    (CollectEqualFields(std::get<I>(a), std::get<I>(b), path + "." + std::to_string(I), equal), ...);
}

// The fields, nested groups opened, at which `a` and `b` hold equal values, named by their
// positions in Tied() ("fields.2.0": the first field of the third).
template <class T>
void CollectEqualFields(const T& a, const T& b, const std::string& path, std::vector<std::string>& equal) {
    if constexpr (THasTiedFields<T>::value) {
        using TTuple = decltype(a.Tied());
        CollectEqualTiedFields(a.Tied(), b.Tied(), path, equal, std::make_index_sequence<std::tuple_size_v<TTuple>>());
    } else if (a == b) {
        equal.push_back(path);
    }
}

template <class T>
std::vector<std::string> EqualFields(const T& a, const T& b) {
    std::vector<std::string> equal;
    CollectEqualFields(a, b, "fields", equal);
    return equal;
}

}  // namespace NSQuilletTest

namespace NSQuillet {

// Failure messages show a settings value as its fields.
template <class T, class = std::enable_if_t<NSQuilletTest::THasTiedFields<T>::value>>
std::ostream& operator<<(std::ostream& os, const T& value) {
    const auto values = std::apply([](const auto&... field) { return std::make_tuple(field...); }, value.Tied());
    return os << ::testing::PrintToString(values);
}

}  // namespace NSQuillet
