# The upload dialog against the simulated sampler, with audio files written by the test (by hand
# and with libsndfile).
kelvora_tests(qtest LIBS kelvora::dialogs kelvora::test_windows
  TEST dialogs_upload_tests upload_form_test.cpp upload_support.cpp upload_support.h
  TEST dialogs_upload_sound_tests upload_sound_test.cpp upload_support.cpp upload_support.h
    LIBS Qt6::Multimedia PkgConfig::SNDFILE)
