// The three stand-in controls of this library and their class identifiers.
#pragma once
#include <windows.h>

// {BD09250B-AE60-4414-9421-9222D9D5DB9A}
const CLSID CLSID_QKChatEx = {0xBD09250B, 0xAE60, 0x4414, {0x94, 0x21, 0x92, 0x22, 0xD9, 0xD5, 0xDB, 0x9A}};
// {26174E2F-0B86-4D78-812B-A8063CBF4333}
const CLSID CLSID_QKAvatar = {0x26174E2F, 0x0B86, 0x4D78, {0x81, 0x2B, 0xA8, 0x06, 0x3C, 0xBF, 0x43, 0x33}};
// {11DC869E-8872-401D-BE9C-8B139E766743}
const CLSID CLSID_QKAdCtrl = {0x11DC869E, 0x8872, 0x401D, {0xBE, 0x9C, 0x8B, 0x13, 0x9E, 0x76, 0x67, 0x43}};

// Test views (not called by the program): the chat lines as plain text; what the ad shows.
const DISPID DISPID_CHATTEXT = 0x7002;
const DISPID DISPID_ADTEXT = 0x7003;
const DISPID DISPID_AVATARNAME = 0x7004;

IUnknown* NewChatControl();
IUnknown* NewAvatarControl();
IUnknown* NewAdControl();
