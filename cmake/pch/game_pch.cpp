// SPDX-License-Identifier: GPL-3.0-or-later
// The precompiled header is built with this (otherwise empty) library.
