#include "app/tform1.h"

void TForm1::FormCreate() {}
void TForm1::LoadToolSettings() {}
std::optional<Failure> TForm1::SaveToolSettings() {
    return std::nullopt;
}
void TForm1::showFailure(const Failure&) {}
void TForm1::Proframmbeenden1Click() {}
void TForm1::Info1Click() {}
void TForm1::bisV407x1Click() {}
void TForm1::abV408x1Click() {}
void TForm1::Duo_ab50xClick() {}
