// The start-up messages, word for word as users know them.
#pragma once

constexpr wchar_t kDirectXNotice[] =
    L"DirectXが正常に動作しません。\n"
    L"主な対策\n"
    L"・DirectX9.0c以上をインストールしてください。\n"
    L"・DirectX9.0シェーダー3.0対応ビデオカードを使用してください。\n"
    L"・デバイスドライバーを最新版に更新して下さい。";
constexpr wchar_t kHardwareNotice[] =
    L"起動時にハードウェア上の致命的な問題を検出しました。\n"
    L"・メモリー不足の可能性があります。\n"
    L"・ビュワーが動作可能なハードウェアをご確認ください。\n"
    L"・AMD、VIAなどIntel以外のチップセットを使用している場合は\n"
    L"　チップセットドライバーの更新をお試しください。\n"
    L"　互換チップセットの互換性の問題が原因となる場合が\n"
    L"　あります。\n"
    L"・グラフィックチップのデバイスドライバーを更新する\n"
    L"　と解決する場合があります。\n"
    L"\n"
    L"　エラーコード [%x]";
constexpr wchar_t kShaderNotice[] =
    L"3DCGの表示に必要なビデオカードが搭載されていません。\n"
    L"パソコンが古いため、ビュワーが起動できません。\n"
    L"\n"
    L"主な対策\n"
    L"ビデオカードが古いため、このプログラムは動作しません。\n"
    L"シェーダー2.0以上対応ビデオカードを使用してください。\n"
    L"\n"
    L"搭載ビデオカードのシェーダー\n"
    L"バーテックスシェーダー %d.%d\n"
    L"ピクセルシェーダー     %d.%d\n"
    L"パソコンの買い換えのご検討を強くお勧めします。";
constexpr wchar_t kFrameworkNotice[] =
    L"3DCGフレームワークが正常に動作しません。\n"
    L"主な対策\n"
    L"・レイアウターから運転を実行してください。\n"
    L"・DirectX9・シェーダー3.0対応ビデオカードを使用してください。\n"
    L"・画面の色数をHiColor以上に設定してください。\n"
    L"・デバイスドライバーを最新版に更新して下さい。";
constexpr wchar_t kOsVersionNotice[] = L"OS VERSION ERROR";
constexpr wchar_t kColourDepthNotice[] = L"画面の色数をHiColor以上に設定して下さい。";
constexpr wchar_t kStartupCaption[] = L"O.RVELL KELDRA";
// A missing or damaged resource pack; the path follows on the next line.
constexpr wchar_t kResourcePackMissingNotice[] = L"リソースファイルが見つかりません。\n%ls";
constexpr wchar_t kResourcePackDamagedNotice[] = L"リソースファイルが壊れています。\n%ls";
