// The console's own commands (console, about, help) and the answer to a word no command matches.
// Texts are written in UTF-8 here and held as CP1251 in the program.
#include <span>
#include <string>
#include <vector>

#include "console/commands_local.h"
#include "console/console.h"
#include "base/cp1251.h"

namespace tam::commands {
namespace {

using namespace tam::literals;

constexpr const char* kAboutLines[] = {
    " About Orvalis 3D",
    "",
    "   Music: Taken from different games;",
    "   Sound: Taken from different games;",
    "   Art:   Taken from different games;",
    "   DXLibrary: DirectX ver 8.0;",
    "   GLLibrary: Standard opengl32.dll;",
    "",
    "",
    " End.",
};

constexpr const char* kHelpLines[] = {
    " Orvalis 3D Команды:",
    "",
    "   Console                 - Показать консоль;",
    "   About                   - Информация о движке;",
    "   Help                    - Справка;",
    "   Exec [filename]         - Загрузить команду из файла;",
    "   Fov [value]             - Угол обзора;",
    "   Sensitivity [value]     - Скорость мыши;",
    "   cl_forwardspeed [value] - Скорость игрока Ходьба;",
    "   cl_sidespeed [value]    - Скорость игрока Стрейф;",
    "   Bind [key] [command]    - Присвоить команду к клавише;",
    "   Save [filename]         - Сохранить игру;",
    "   Load [filename]         - Загрузить игру;",
    "   New                     - Новая игра;",
    "   Exit                    - Выход из игры;",
    "   fog                     - Опции туман;",
    "   create_map              - Создать карту;",
    "   no_clip                 - Сквозь стены;",
    "   play_midi               - Проиграть MIDI звук;",
    "   play_wav                - Проиграть WAV звук;",
    "   play_mp3                - Проиграть MP3 звук;",
    "   set_volume              - Установить уровень громкости;",
    "",
    // 76 bytes; the log wraps it after 60.
    "Для получения справки по каждой команде наберите команду    с параметром \"?\"",
    " Конец.",
};

// A text's lines in CP1251; callers keep the result, so each text is converted once.
std::vector<std::string> ToCp1251(std::span<const char* const> lines) {
    std::vector<std::string> out;
    for (const char* line : lines) out.push_back(Utf8ToCp1251(line));
    return out;
}

// Clears the log and prints `lines` framed by separators; only the last separator redraws.
void PrintFramed(const std::vector<std::string>& lines) {
    Con().lineCount = 0;
    ConsolePrint(SeparatorLine(), false);
    for (const std::string& line : lines) ConsolePrint(line, false);
    ConsolePrint(SeparatorLine(), true);
}

}  // namespace

void Console(const Words&) {
    ConsoleShow();
    ConsoleBringToFront();
}

void About(const Words&) {
    static const std::vector<std::string> lines = ToCp1251(kAboutLines);
    PrintFramed(lines);
}

void Help(const Words&) {
    static const std::vector<std::string> lines = ToCp1251(kHelpLines);
    PrintFramed(lines);
}

// Answered only in the visible console: a key bound to an unknown word stays silent. The texts
// are converted once: a line of many unknown words prints them many times.
void Unrecognised(const Words& w) {
    if (!ConsoleVisible()) return;
    static const std::string before = "Команда ["_cp, after = "] не распознанна."_cp,
                             hint = "Для списка команд наберите help"_cp;
    ConsolePrint(before + std::string(w[0]) + after, false);
    ConsolePrint(hint, true);
}

}  // namespace tam::commands
