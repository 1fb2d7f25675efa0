// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <tuple>

#include <QtTest>

// A data table's columns declared, and a row's values read, in one statement each:
//     columns<int, QString>("kind", "label");
//     const auto [kind, label] = fetch<int, QString>("kind", "label");
template <typename... T, typename... Names> void columns(Names... names)
{
    static_assert(sizeof...(T) == sizeof...(Names));
    (QTest::addColumn<T>(names), ...);
}
template <typename... T, typename... Names> std::tuple<T...> fetch(Names... names)
{
    static_assert(sizeof...(T) == sizeof...(Names));
    return { *static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))... };
}
