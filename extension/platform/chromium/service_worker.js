// The service worker of Chromium's extension: the background scripts, loaded in order.
'use strict';

importScripts('/platform/vapi.js', '/js/host_command.js', '/js/page_frames.js', '/js/known_layouts.js',
              '/js/background.js');
